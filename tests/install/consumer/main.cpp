// Takes one sample of the local computer through the installed library and prints
// how many objects it holds.
#include <iostream>

#include <gaugery/PerfObjects.h>

int main() {
  gaugery::TPerfObjects Objects(nullptr);
  Objects.Refresh();
  std::cout << "objects: " << Objects.ObjectCount() << "\n";
  return Objects.ObjectCount() > 0 ? 0 : 1;
}
