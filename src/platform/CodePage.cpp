#include "CodePage.h"

#include "TextRules.h"

#include <algorithm>

namespace orvale {

namespace {

class Latin1CodePage final : public CodePage {
public:
    const std::string& Name() const override { return Name_; }

    size_t ToUnicode(std::string_view bytes, char16_t* out) const override {
        for (size_t k = 0; k < bytes.size(); ++k)
            out[k] = static_cast<unsigned char>(bytes[k]);
        return bytes.size();
    }

    void FromUnicode(std::u16string_view text, std::string& out) const override {
        size_t at = out.size();
        out.resize(at + text.size());
        for (size_t k = 0; k < text.size(); ++k)
            out[at + k] = text[k] <= 0xFF ? static_cast<char>(text[k]) : '?';
    }

    size_t FirstUnmappable(std::u16string_view text) const override {
        auto wide = std::find_if(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
        return wide == text.end() ? std::u16string_view::npos
                                  : static_cast<size_t>(wide - text.begin());
    }

private:
    std::string Name_ = "ISO-8859-1";
};

} // namespace

const CodePage& CodePage::Latin1() {
    static const Latin1CodePage page;
    return page;
}

std::unique_ptr<CodePage> CodePage::Named(std::string_view name) {
    for (std::string_view known : {"ISO-8859-1", "ISO8859-1", "LATIN1", "LATIN-1"})
        if (SameText(name, known))
            return std::make_unique<Latin1CodePage>();
    return nullptr;
}

} // namespace orvale
