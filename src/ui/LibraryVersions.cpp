#include "ui/LibraryVersions.h"

#include "calvex/Calvex.h"
#include "ondrel/Ondrel.h"
#include "outside/Caddis.h"
#include "outside/Lumbro.h"
#include "outside/Verrow.h"
#include "tessary/Tessary.h"

std::vector<TLibraryVersion> LibraryVersions() {
    struct Library {
        const char* Name;
        const char* Role;
        void (*Version)(std::string&);
    };
    static const Library libraries[] = {
        {"Calvex", "RPG/400 conversion and compile", GetRPG3DllVersion},
        {"Ondrel", "EBCDIC conversion and host copy", GetEBCDDllVersion},
        {"Verrow", "RPG program browser", GetVerrowVersion},
        {"Caddis", "Program repository", GetCaddisVersion},
        {"Tessary", "Operation-code prompt help", GetTessaryDllVersion},
        {"Lumbro", "Print layout design aid", GetLumbroVersion},
    };
    std::vector<TLibraryVersion> versions;
    for (const Library& library : libraries) {
        TLibraryVersion version{library.Name, library.Role, {}};
        library.Version(version.Version);
        versions.push_back(std::move(version));
    }
    return versions;
}
