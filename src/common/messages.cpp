#include "common/messages.h"

namespace {
bool g_polish = false;  // until the start decides, messages are English
}  // namespace

void SetMessagesInPolish(bool polish) { g_polish = polish; }
bool MessagesInPolish() { return g_polish; }
const wchar_t* Say(const wchar_t* polish, const wchar_t* english) { return g_polish ? polish : english; }
