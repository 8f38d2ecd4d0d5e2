#include "catalog/check_protocol.h"

#include <cstring>

namespace {

int GetInt(const char* bytes)
{
    int value = 0;
    std::memcpy(&value, bytes, 4);
    return value;
}

}  // namespace

std::vector<char> EncodeCheckRequest(const CheckRequest& request)
{
    const int header[] = {request.first, request.second, static_cast<int>(request.library.size()),
                          static_cast<int>(request.function.size())};
    const size_t libraryBytes = request.library.size() * sizeof(wchar_t);
    const size_t functionBytes = request.function.size() * sizeof(wchar_t);
    std::vector<char> bytes(kCheckRequestHeaderBytes + libraryBytes + functionBytes);
    std::memcpy(bytes.data(), header, kCheckRequestHeaderBytes);
    std::memcpy(bytes.data() + kCheckRequestHeaderBytes, request.library.data(), libraryBytes);
    std::memcpy(bytes.data() + kCheckRequestHeaderBytes + libraryBytes, request.function.data(), functionBytes);
    return bytes;
}

bool CheckRequestTextBytes(const char* header, size_t& textBytes)
{
    int library = GetInt(header + 8);
    int function = GetInt(header + 12);
    if (library < 0 || function < 0 || static_cast<size_t>(library) > kCheckTextMaxUnits ||
        static_cast<size_t>(function) > kCheckTextMaxUnits)
        return false;
    textBytes = (static_cast<size_t>(library) + static_cast<size_t>(function)) * sizeof(wchar_t);
    return true;
}

bool DecodeCheckRequest(const char* header, const std::vector<char>& text, CheckRequest& request)
{
    size_t expected = 0;
    if (!CheckRequestTextBytes(header, expected) || text.size() != expected)
        return false;
    size_t library = static_cast<size_t>(GetInt(header + 8));
    const wchar_t* units = reinterpret_cast<const wchar_t*>(text.data());
    request.first = GetInt(header);
    request.second = GetInt(header + 4);
    request.library.assign(units, library);
    request.function.assign(units + library, expected / sizeof(wchar_t) - library);
    return true;
}

void EncodeCheckReply(const CheckReply& reply, char (&bytes)[kCheckReplyBytes])
{
    int kind = static_cast<int>(reply.kind);
    std::memcpy(bytes, &kind, 4);
    std::memcpy(bytes + 4, &reply.answer, 4);
}

bool DecodeCheckReply(const char (&bytes)[kCheckReplyBytes], CheckReply& reply)
{
    int kind = GetInt(bytes);
    if (kind < static_cast<int>(CheckReplyKind::Answered) || kind > static_cast<int>(CheckReplyKind::CrashedLoading))
        return false;
    reply.kind = static_cast<CheckReplyKind>(kind);
    reply.answer = GetInt(bytes + 4);
    return true;
}
