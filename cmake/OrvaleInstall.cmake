# Installation. The program, the command-line tool and their private shared libraries go side
# by side into <prefix>/<libdir>/orvale, so that every library is found through $ORIGIN;
# <prefix>/bin gets links to the executables. The default data files and the help pages go
# into <prefix>/<datadir>/orvale, from where the installed program fills each user's program
# directory ($XDG_DATA_HOME/orvale) on its first start; the menu entry and the icon go where
# the desktop looks for them.
include(GNUInstallDirs)
set(ORVALE_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/orvale)
set(ORVALE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orvale)
set(CMAKE_INSTALL_RPATH "$ORIGIN")
# How the installed program reaches its data from its own directory.
file(RELATIVE_PATH ORVALE_INSTALLED_DATA_FROM_PROGRAM "/${ORVALE_INSTALL_APPDIR}"
     "/${ORVALE_INSTALL_DATADIR}")

# Runs once every directory has made its targets, so that it can install those that exist in
# this configuration (the user interface and its libraries are optional).
function(orvale_install_programs)
  set(executables orvale orvale-cli)
  set(libraries orvale_platform calvex tessary ondrel verrow caddis lumbro)
  foreach(target IN LISTS executables libraries)
    if(TARGET ${target})
      install(TARGETS ${target}
        RUNTIME DESTINATION ${ORVALE_INSTALL_APPDIR}
        LIBRARY DESTINATION ${ORVALE_INSTALL_APPDIR})
    endif()
  endforeach()
  foreach(target IN LISTS executables)
    if(NOT TARGET ${target})
      continue()
    endif()
    file(RELATIVE_PATH relative "/${CMAKE_INSTALL_BINDIR}" "/${ORVALE_INSTALL_APPDIR}/${target}")
    install(CODE "
      set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
      message(STATUS \"Installing: \${link} -> ${relative}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
      file(REMOVE \"\${link}\")
      file(CREATE_LINK \"${relative}\" \"\${link}\" SYMBOLIC)")
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL orvale_install_programs)
