#include "BrennicorApp.h"

int main(int argc, char **argv)
{
    if (const int status = HandleCommandLineBeforeGui(argc, argv); status >= 0)
        return status;
    CBrennicorApp app(argc, argv);
    return app.InitInstance();
}
