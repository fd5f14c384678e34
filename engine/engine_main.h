// The engine program: start-up, message loop, shutdown.
#pragma once

// Exit code when start-up finds no usable layout (no quit message was received).
constexpr int kExitStartFailed = 2;

// The program's entry point; returns its exit code. It takes no arguments.
int EngineMain();
