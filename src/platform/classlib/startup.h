// The platform's start-up: creates the toolkit's application object, runs
// the application object's InitInstance and ends when it returns.
#pragma once

int AfxWinMain(int argc, char** argv);
