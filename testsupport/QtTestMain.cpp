// The main() of test programs that need nothing beyond the common set-up.
#include "testsupport/QtTestRun.h"

int main(int argc, char** argv) { return TestSupport::RunQtTests(argc, argv); }
