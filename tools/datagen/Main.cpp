// datagen: writes every file the demo loads into one data folder.
// Usage: datagen [DIR]   (default "data")
#include "Datagen.h"

int main(int argc, char** argv) { return Datagen::GenerateAll(argc > 1 ? argv[1] : "data") ? 0 : 1; }
