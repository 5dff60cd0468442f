#include "app/windows/program_start.h"

int main(int argc, char** argv) {
    return quorrin::programStart(argc, argv);
}
