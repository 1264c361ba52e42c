// The program that checks a layer's library links with only the layers it
// names; it is never run.
int main() { return 0; }
