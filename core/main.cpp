#include "core/run.h"

int main(int argc, char** argv) {
  return vantro::RunAdapter(argc, argv);
}
