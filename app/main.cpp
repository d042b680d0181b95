#include "BrennicorApp.h"

int main(int argc, char **argv)
{
    if (HandleInformationOptions(argc, argv))
        return 0;
    CBrennicorApp app(argc, argv);
    return app.InitInstance();
}
