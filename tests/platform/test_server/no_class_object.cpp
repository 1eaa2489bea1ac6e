// A shared library without DllGetClassObject or DllRegisterServer.
extern "C" int QuorvelTestNothingHere() { return 0; }
