#include "application.h"

int main(int argc, char* argv[])
{
    return kovaldi::RunApplication(argc, argv);
}
