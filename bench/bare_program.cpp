// A C++ program that does nothing: the start-up floor the process
// benchmark measures beside numbrook-sheet's own.
#include <iostream>

int main() {
  std::cout << "";
  return 0;
}
