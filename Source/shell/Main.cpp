// Entry point of the demo executable `quenlite`.
int main() { return 0; }
