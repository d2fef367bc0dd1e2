#pragma once

// A write that cannot be done fails with its error instead of ending the
// process: SIGPIPE (no reader left on standard output) and SIGXFSZ (past the
// file-size limit) are ignored. Called once at start-up.
void ignoreWriteSignals();
