// Wiring tests set the settings store up exactly as the program does.
#include "frame/CSVL_EditorApp.h"
#include "testsupport/QtTestRun.h"

int main(int argc, char** argv) {
    return TestSupport::RunQtTests(argc, argv, &CSVL_EditorApp::SetupSettingsStore);
}
