// What a registration file can show about an entry that the hub passes over in silence: values
// it never reads, values of the wrong type, files that are not on this machine, an icon index
// past the file's icon groups.
#pragma once
#include <string>
#include <vector>

// One UTF-8 text per problem, without the id or a line end, for the catalogue subkey `id`
// under HKEY_LOCAL_MACHINE (whatever stands for it in this process).
std::vector<std::string> RegistrationWarnings(const std::wstring& id);
