#pragma once

#include <string>
#include <vector>

namespace korvane::cli {

// Each command gets the words after its name and returns the exit code.
int RunDemoCommand(const std::vector<std::string>& args);
int RunInfoCommand(const std::vector<std::string>& args);
int RunDumpCommand(const std::vector<std::string>& args);
int RunRoundtripCommand(const std::vector<std::string>& args);
int RunEditCommand(const std::vector<std::string>& args);
int RunPatchCommand(const std::vector<std::string>& args);
int RunApplyPatchCommand(const std::vector<std::string>& args);
int RunTilesCommand(const std::vector<std::string>& args);
int RunPlayCommand(const std::vector<std::string>& args);
int RunLevelCommand(const std::vector<std::string>& args);
int RunUnpackCommand(const std::vector<std::string>& args);
int RunPackCommand(const std::vector<std::string>& args);
int RunDiffCommand(const std::vector<std::string>& args);
int RunRecoverCommand(const std::vector<std::string>& args);

} // namespace korvane::cli
