extern "C" int TestModuleAnswer() { return 42; }
