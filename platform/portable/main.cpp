// The entry point of the builds that are not Windows programs. The program itself takes no
// arguments; the command line only answers the questions every Unix program answers.
#include "printable.h"

#include <afxwin.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int kExitUsage = 2;
const int kExitUnwritten = 1;

// The name as it is echoed: argv[0] is whatever the caller chose, control characters included.
std::string ProgramName(const char* lpszPath)
{
    const char* lpszSlash = std::strrchr(lpszPath, '/');
    return portable::PrintableText(lpszSlash != nullptr ? lpszSlash + 1 : lpszPath);
}

// An answer nobody could read (standard output closed, a full disk, a closed pipe) is a
// failure: a script that asked for it must not take the status for success.
int FinishAnswer(const std::string& name, const char* lpszWhat)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return EXIT_SUCCESS;
    const int nError = errno;
    std::fprintf(stderr, "%s: cannot write the %s: %s\n", name.c_str(), lpszWhat,
                 nError != 0 ? std::strerror(nError) : "write error");
    return kExitUnwritten;
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
        return FinishAnswer(name, "help");
    }
    if (argc == 2 && option == "--version") {
        std::printf("%s %s\n", name.c_str(), VURAZEVEDADAR_VERSION);
        return FinishAnswer(name, "version");
    }
    // The first word that does not belong: an option of its own, or what follows one.
    const bool bKnown = option == "--help" || option == "--version";
    const char* lpszWrong = bKnown ? argv[2] : argv[1];
    const bool bOption = lpszWrong[0] == '-' && !bKnown;
    std::fprintf(stderr, "%s: %s '%s'\n", name.c_str(),
                 bOption ? "unknown option" : "unexpected argument",
                 portable::PrintableText(lpszWrong).c_str());
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
