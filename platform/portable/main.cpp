// The entry point of the builds that are not Windows programs.
#include <afxwin.h>

int main(int argc, char** argv)
{
    return AfxWinMain(::GetModuleHandle(NULL), argc > 0 ? argv[0] : "", SW_SHOWNORMAL);
}
