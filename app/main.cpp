#include "BrennicorApp.h"

int main(int argc, char **argv)
{
    CBrennicorApp app(argc, argv);
    return app.InitInstance();
}
