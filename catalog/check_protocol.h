// What the hub and BrindleCheck.exe say to each other over two anonymous pipes. One request,
// then one reply, per check; the helper waits for the next request until its input closes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The helper's file name; it lives beside the program that starts it.
constexpr wchar_t kCheckHelperFile[] = L"BrindleCheck.exe";

struct CheckRequest {
    std::wstring library;
    std::wstring function;
    int first = 0;
    int second = 0;
};

enum class CheckReplyKind : int {
    Answered = 1,    // `answer` holds the function's return value
    NoLibrary = 2,
    NoFunction = 3,
    LeftThread = 4,  // answered, but a thread of the unloaded library still runs: the helper ends next
    CrashedLoading = 5,  // the library's start-up code raised an exception: the helper ends next
};

struct CheckReply {
    CheckReplyKind kind = CheckReplyKind::Answered;
    int answer = 0;
};

// BrindleCheck <request pipe> <reply pipe> <reply event> <hub process>: inherited handle values.
// The helper ends itself when the hub process ends.
constexpr int kCheckHelperArguments = 4;

// The helper's exit codes that tell a crash from a check that ended the process itself.
constexpr DWORD kHelperCrashedInCheck = 0xB71C0001;   // exception raised in the running check
constexpr DWORD kHelperCrashedElsewhere = 0xB71C0002; // exception outside the running check's library
constexpr DWORD kHelperBadStart = 0xB71C0003;         // started without its pipes

constexpr size_t kCheckReplyBytes = 8;
// Header of a request: first, second, library length, function length (in UTF-16 units).
constexpr size_t kCheckRequestHeaderBytes = 16;
// Longest text either field may carry; longer requests are refused by the helper.
constexpr size_t kCheckTextMaxUnits = 4096;

std::vector<char> EncodeCheckRequest(const CheckRequest& request);
// From the header alone: how many bytes of text follow. False for a header out of bounds.
bool CheckRequestTextBytes(const char* header, size_t& textBytes);
// Header + text as read: the request. False when the text is not what the header promised.
bool DecodeCheckRequest(const char* header, const std::vector<char>& text, CheckRequest& request);

void EncodeCheckReply(const CheckReply& reply, char (&bytes)[kCheckReplyBytes]);
bool DecodeCheckReply(const char (&bytes)[kCheckReplyBytes], CheckReply& reply);
