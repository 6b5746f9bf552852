// VESK: summary information about the files that match a specification and
// about the drive that holds them.

#include "driver/run.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  platform_start(argc, argv);
  RUN();
}
