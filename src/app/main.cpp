// Program start. Replaced by the front ends (window and unattended run).
#include <iostream>

int main() {
    std::cout << "tessaron-config\n";
    return 0;
}
