// The POSIX run-time's signals, for the terminal platform and the tests.
#pragma once

namespace runtime {

// Number of the fault that signal SIG with si_code CODE reports.
int FaultCode(int sig, int code);

// Raises SIG for the whole foreground job, as the terminal does for its signal keys.
void RaiseForJob(int sig);

}  // namespace runtime
