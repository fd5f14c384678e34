// The engine program: start-up, message loop, shutdown.
#pragma once

// The program's entry point; returns its exit code. It takes no arguments.
int EngineMain();
