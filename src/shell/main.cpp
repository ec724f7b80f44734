#include "shell/StartUp.h"

int main(int argc, char** argv)
{
    return TStartUp::Run(argc, argv);
}
