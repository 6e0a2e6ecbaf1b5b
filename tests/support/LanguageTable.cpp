#include "tests/support/LanguageTable.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"

#include <string_view>

namespace testing_platform {

s::lang::Localizer& shippedLanguageTable()
{
    // Never destroyed: tests in any order may still hold its texts.
    static s::lang::Localizer* table = [] {
        auto* localizer = new s::lang::Localizer();
        const auto data = s::platform::findResource(u"IDR_XML", 130);
        s::xml::Node root;
        root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        localizer->load(root, 10);
        if (localizer->count() > 0)
            localizer->select(u"English");
        return localizer;
    }();
    return *table;
}

}  // namespace testing_platform
