#pragma once
#include <exception>

#include "common/error.h"
#include "forms/messages.h"

namespace forms {

template <typename Body>
void Guarded(Body&& body) {
  try {
    body();
  } catch (const AppError& e) {
    ReportFatalAndExit(e.code, Describe(e));
  } catch (const std::bad_alloc&) {
    ReportFatalAndExit(ERROR_NOT_ENOUGH_MEMORY, Tr(Text::FatalOutOfMemory));
  } catch (const std::exception& e) {
    std::wstring what;
    for (const char* p = e.what(); *p; ++p) what += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    ReportFatalAndExit(ERROR_INTERNAL_ERROR, what);
  } catch (...) {
    ReportFatalAndExit(ERROR_INTERNAL_ERROR, Tr(Text::FatalUnknown));
  }
}

}  // namespace forms
