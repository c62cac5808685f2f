# Precompiled headers: most of the time spent compiling a test program or a window goes into
# parsing GoogleTest and Qt Widgets again for every file. ORVALE_PCH=OFF builds without them.

# ccache caches nothing that uses a precompiled header unless told to accept one (its
# "sloppiness"); without it every such compile would run uncached. The launcher is wrapped so
# that builds configured with -DCMAKE_CXX_COMPILER_LAUNCHER=ccache keep hitting the cache.
if(ORVALE_PCH AND CMAKE_CXX_COMPILER_LAUNCHER)
  list(GET CMAKE_CXX_COMPILER_LAUNCHER 0 orvale_launcher)
  get_filename_component(orvale_launcher "${orvale_launcher}" NAME)
  if(orvale_launcher STREQUAL "ccache")
    set(CMAKE_CXX_COMPILER_LAUNCHER
        env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        ${CMAKE_CXX_COMPILER_LAUNCHER})
  endif()
endif()

# The headers nearly every GoogleTest program includes, and the Qt Widgets ones the windows and
# their tests include.
set(ORVALE_PCH_TEST_HEADERS <gtest/gtest.h> <algorithm> <filesystem> <fstream> <functional>
    <memory> <string> <vector>)
set(ORVALE_PCH_QT_HEADERS <QApplication> <QAction> <QCheckBox> <QComboBox> <QDialog>
    <QHBoxLayout> <QLabel> <QLineEdit> <QMenu> <QPushButton> <QTimer> <QVBoxLayout> <QWidget>)

# orvale_precompile_headers(<target> [TEST] [QT])
# Gives <target> the test headers (TEST), the Qt Widgets headers (QT, with QTest when TEST too),
# or both. Files of a QT target that include no Qt header themselves are compiled without the
# precompiled header, so that they stay free of Qt and of its keywords (emit, signals, slots).
function(orvale_precompile_headers target)
  cmake_parse_arguments(ARG "TEST;QT" "" "" ${ARGN})
  if(NOT ORVALE_PCH)
    return()
  endif()
  set(headers "")
  if(ARG_TEST)
    list(APPEND headers ${ORVALE_PCH_TEST_HEADERS})
  endif()
  if(ARG_QT)
    list(APPEND headers ${ORVALE_PCH_QT_HEADERS})
    if(ARG_TEST)
      list(APPEND headers <QTest>)
    endif()
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\.cpp$")
        continue()
      endif()
      get_filename_component(path "${source}" ABSOLUTE)
      file(STRINGS "${path}" qt_includes REGEX "^#include <Q")
      if(NOT qt_includes)
        set_source_files_properties(${source} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # With the headers precompiled, GCC 12 reports false overflows in libstdc++'s
    # "literal" + std::string inlined into our code, which it keeps quiet about otherwise (its
    # bug 105651, as with -Wno-restrict in the top CMakeLists.txt).
    target_compile_options(${target} PRIVATE -Wno-stringop-overflow -Wno-stringop-overread
      -Wno-array-bounds)
  endif()
endfunction()
