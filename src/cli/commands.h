#pragma once

namespace quil {

// The subcommands of quil. Each takes the arguments after its own name
// (argv[0] is the subcommand) and returns the exit status.
int RunInfo(int argc, char** argv);
int RunDump(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunExport(int argc, char** argv);
int RunThumbnail(int argc, char** argv);
int RunReplay(int argc, char** argv);

}  // namespace quil
