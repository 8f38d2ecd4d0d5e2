// Module files opened as data (their code never runs), with the number of bytes each one maps:
// resource reads check their ranges against it (win/resource_data.h), because the resource
// directory of a file cut short still names data past its end.
#pragma once
#include "win/handles.h"

#include <windows.h>

#include <string>

namespace win {

// Opens `path` as a data file and records how many of its bytes are mapped; null when it cannot.
HMODULE OpenDataFile(const std::wstring& path);
// Forgets the record and releases the module.
void CloseDataFile(HMODULE module);

// The readable bytes of a module opened by OpenDataFile, from its base; false for any other.
bool DataFileBytes(HMODULE module, UINT_PTR& bytes);

namespace traits {

struct DataFile {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseDataFile(h); }
};

}  // namespace traits

using UniqueDataFile = UniqueHandleOf<traits::DataFile>;

}  // namespace win
