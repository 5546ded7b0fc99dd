#include "common/messages.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "common/textfile.h"
#include "support/scratch_registry.h"

namespace {

// The reasons shown to the user follow the language of the program's own messages.
TEST(Messages, FailureDescriptionsFollowTheMessageLanguage) {
  TempFolder folder;
  const std::wstring device = folder / L"NUL.rec", missing = folder / L"brak\\lista.rec";
  auto description = [](auto&& fail) {
    try {
      fail();
    } catch (const AppError& e) {
      return e.description();
    }
    return std::wstring(L"(nothing thrown)");
  };

  SetMessagesInPolish(true);
  const std::wstring polishDevice = description([&] { WriteFileReplacing(device, "x"); });
  const std::wstring polishMissing = description([&] { ReadFileBytes(missing); });
  SetMessagesInPolish(false);
  const std::wstring englishDevice = description([&] { WriteFileReplacing(device, "x"); });

  // The system's own text and the error number follow the reason.
  EXPECT_TRUE(polishDevice.starts_with(L"Nie można zapisać pliku " + device +
                                       L": ta nazwa oznacza urządzenie, nie plik"))
      << polishDevice.size();
  EXPECT_TRUE(polishDevice.ends_with(L"(" + std::to_wstring(ERROR_INVALID_NAME) + L")"));
  EXPECT_TRUE(polishMissing.starts_with(L"Nie można otworzyć pliku " + missing));
  EXPECT_TRUE(englishDevice.starts_with(L"Cannot write the file " + device +
                                        L": the name is reserved for a device"));
}

}  // namespace
