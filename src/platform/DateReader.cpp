#include "DateReader.h"

namespace orvale {

namespace {

constexpr char kRecordSeparator = '|';

} // namespace

std::string FormatsRecord(const RegionalSettings& formats) {
    std::string record = formats.DateFormat();
    for (const std::string* field : {&formats.TimeFormat(), &formats.Am(), &formats.Pm()}) {
        record += kRecordSeparator;
        record += *field;
    }
    return record;
}

std::optional<RegionalSettings> FormatsFromRecord(std::string_view record) {
    std::vector<std::string> fields;
    for (;;) {
        size_t bar = record.find(kRecordSeparator);
        fields.emplace_back(record.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        record.remove_prefix(bar + 1);
    }
    // A date format without a conversion reads no date.
    if (fields.size() != 4 || fields[0].find('%') == std::string::npos)
        return std::nullopt;
    return RegionalSettings(fields[0], fields[1], fields[2], fields[3]);
}

std::vector<RegionalSettings> CommonDateForms() {
    std::vector<RegionalSettings> forms{RegionalSettings::Current(),
                                        RegionalSettings("%Y-%m-%d", "%H:%M:%S")};
    for (const char* separator : {"/", ".", "-"}) {
        std::string s = separator;
        std::string dayFirst = "%d" + s + "%m" + s + "%Y";
        std::string monthFirst = "%m" + s + "%d" + s + "%Y";
        forms.emplace_back(dayFirst, "%H:%M:%S");
        forms.emplace_back(monthFirst, "%I:%M:%S %p");
        forms.emplace_back(monthFirst, "%H:%M:%S");
        forms.emplace_back(dayFirst, "%I:%M:%S %p");
    }
    // The Japanese form, year first, as the ja_JP locales write it in UTF-8.
    forms.emplace_back("%Y\xE5\xB9\xB4%m\xE6\x9C\x88%d\xE6\x97\xA5",
                       "%H\xE6\x99\x82%M\xE5\x88\x86%S\xE7\xA7\x92");
    return forms;
}

DateReader::DateReader(RegionalSettings formats)
    : Formats_(std::move(formats)), Others_(CommonDateForms()), Current_(Formats_ == Others_[0]) {}

DateReader DateReader::Choosing(const std::vector<std::string_view>& texts) {
    std::vector<RegionalSettings> forms = CommonDateForms();
    size_t best = 0;
    size_t bestCount = 0;
    for (size_t f = 0; f < forms.size(); ++f) {
        size_t count = 0;
        for (std::string_view text : texts)
            if (forms[f].ParseDateTime(text))
                ++count;
        if (count == texts.size())
            return DateReader(forms[f]);
        if (count > bestCount) {
            best = f;
            bestCount = count;
        }
    }
    return DateReader(forms[best]);
}

std::optional<DateReader::Reading> DateReader::Read(std::string_view text) const {
    if (auto moment = Formats_.ParseDateTime(text))
        return Reading{*moment, IsCurrent()};
    for (size_t f = 0; f < Others_.size(); ++f)
        if (auto moment = Others_[f].ParseDateTime(text))
            return Reading{*moment, f == 0};
    return std::nullopt;
}

} // namespace orvale
