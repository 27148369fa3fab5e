// The entry point of the builds that are not Windows programs. The program itself takes no
// arguments; the command line only answers the questions every Unix program answers.
#include <afxwin.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kExitUsage = 2;

std::string ProgramName(const char* lpszPath)
{
    const char* lpszSlash = std::strrchr(lpszPath, '/');
    return lpszSlash != nullptr ? lpszSlash + 1 : lpszPath;
}

void PrintUsage(std::FILE* pStream, const std::string& name)
{
    std::fprintf(pStream,
                 "Usage: %s [--help | --version]\n"
                 "Shows a Geneva drive at work in a window of its own; close the window to "
                 "quit.\n",
                 name.c_str());
}

// Answers --help and --version, and refuses anything else; -1 when the program is to run.
int HandleCommandLine(int argc, char** argv, const std::string& name)
{
    if (argc <= 1)
        return -1;
    const std::string option = argv[1];
    if (argc == 2 && option == "--help") {
        PrintUsage(stdout, name);
        return EXIT_SUCCESS;
    }
    if (argc == 2 && option == "--version") {
        std::printf("%s %s\n", name.c_str(), VURAZEVEDADAR_VERSION);
        return EXIT_SUCCESS;
    }
    // The first word that does not belong: an option of its own, or what follows one.
    const bool bKnown = option == "--help" || option == "--version";
    const char* lpszWrong = bKnown ? argv[2] : argv[1];
    const bool bOption = lpszWrong[0] == '-' && !bKnown;
    std::fprintf(stderr, "%s: %s '%s'\n", name.c_str(),
                 bOption ? "unknown option" : "unexpected argument", lpszWrong);
    PrintUsage(stderr, name);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* lpszPath = argc > 0 ? argv[0] : "";
    const int nStatus = HandleCommandLine(argc, argv, ProgramName(lpszPath));
    if (nStatus >= 0)
        return nStatus;
    return AfxWinMain(::GetModuleHandle(NULL), lpszPath, SW_SHOWNORMAL);
}
