// Linked with every object of one folder's library and the libraries below it: a call from the
// folder into one above it is then a symbol the link cannot find. Never run.
int main() {
    return 0;
}
