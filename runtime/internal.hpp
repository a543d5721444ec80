// Shared by the run-time's own files, not by its users: the steps of a stop and a resume,
// and the report's output. All async-signal-safe.
#pragma once

namespace runtime {

// For a stop: every mode off, newest first, but kept for the resume.
void SuspendModes();
// After a stop: every mode on again, oldest first.
void ResumeModes();
// Writes the report of run-time error CODE at ADDRESS with its back-trace to standard
// output.
void WriteRunError(int code, const void* address, void* const* frames, int frame_count);

// The deepest back-trace the report shows.
constexpr int kMaxFrames = 64;

// The report goes to the process's standard output, outside the console layer.
constexpr int kStandardOutput = 1;

}  // namespace runtime
