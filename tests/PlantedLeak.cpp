// A program that loses memory on purpose: the test suite runs it to prove that leak checking is
// on, and passes only when the sanitizer reports this leak.
#include <cstdio>

namespace {
int* volatile g_kept = nullptr;
}

int main() {
    g_kept = new int[64];
    g_kept[0] = 1;
    std::printf("%d\n", g_kept[0]);
    g_kept = nullptr; // the only pointer to the block is gone
    return 0;
}
