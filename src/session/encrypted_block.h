#pragma once

#include <string_view>

namespace zav {

// Vendor libraries may hide the body of a definition in an encrypted block:
// a marker line whose first word begins with "$" and contains "ENCSTART",
// lines of cipher text, and a marker line whose first word begins with "$"
// and contains "ENCFINISH". Only the vendor's own simulator can read the
// block, so its lines are carried along as they are, never read as
// statements. (The cipher text often begins with a letter and would
// otherwise pass for an element.)

// Whether `line` opens an encrypted block.
bool StartsEncryptedBlock(std::string_view line);

// Whether `line` closes an encrypted block that is open.
bool EndsEncryptedBlock(std::string_view line);

}  // namespace zav
