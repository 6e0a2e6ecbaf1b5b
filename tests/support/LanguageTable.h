// The language table the program carries ("IDR_XML" 130, which the test
// binary embeds), loaded once per process with English current: for tests
// that check the texts the user sees.
#pragma once

namespace s::lang {
class Localizer;
}

namespace testing_platform {

s::lang::Localizer& shippedLanguageTable();

}  // namespace testing_platform
