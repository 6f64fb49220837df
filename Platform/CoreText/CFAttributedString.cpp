#include "CoreText/CFAttributedString.h"

#include <glib.h>

#include <algorithm>
#include <cstring>

#include "CTInternal.h"
#include "Foundation/NSLog.h"

namespace {

using Attributes = CFAttributedString::Attributes;

bool sameAttributes(const Attributes& a, const Attributes& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.first == y.first && x.second == y.second; });
}

// Makes a run start at `index` (at most the length); answers that run's position.
size_t splitAt(CFAttributedString& s, CFIndex index)
{
    CFIndex start = 0;
    for (size_t i = 0; i < s.runs.size(); ++i) {
        if (start == index) return i;
        CFIndex end = start + s.runs[i].length;
        if (index < end) {
            CFAttributedString::Run tail{end - index, s.runs[i].attributes};
            s.runs[i].length = index - start;
            s.runs.insert(s.runs.begin() + std::ptrdiff_t(i) + 1, std::move(tail));
            return i + 1;
        }
        start = end;
    }
    return s.runs.size();
}

void mergeRuns(CFAttributedString& s)
{
    std::vector<CFAttributedString::Run> merged;
    for (CFAttributedString::Run& run : s.runs) {
        if (run.length == 0) continue;
        if (!merged.empty() && sameAttributes(merged.back().attributes, run.attributes))
            merged.back().length += run.length;
        else
            merged.push_back(std::move(run));
    }
    s.runs = std::move(merged);
}

// A UTF-16 range that lies on the text, or a logged refusal.
bool onText(const CFAttributedString& s, CFRange range, const char* caller)
{
    CFIndex size = CTUTF16Length(s.text);
    if (range.location >= 0 && range.length >= 0 && range.location <= size && range.length <= size - range.location)
        return true;
    NSLog("%s: range {%ld, %ld} is outside a string of length %ld; nothing changes", caller, range.location,
          range.length, size);
    return false;
}

}  // namespace

CTHeldValue::CTHeldValue(CFAttributeValue value) : value_(value)
{
    switch (value_.kind()) {
    case CFAttributeValue::Kind::Font: CFRetain(static_cast<CTFontRef>(object())); break;
    case CFAttributeValue::Kind::Color: CGColorRetain(static_cast<CGColorRef>(const_cast<void*>(object()))); break;
    case CFAttributeValue::Kind::ParagraphStyle: CFRetain(static_cast<CTParagraphStyleRef>(object())); break;
    case CFAttributeValue::Kind::Boolean: break;  // never released
    case CFAttributeValue::Kind::Number: CFRetain(static_cast<CFNumberRef>(object())); break;
    }
}

CTHeldValue::CTHeldValue(const CTHeldValue& o) : CTHeldValue(o.value_) {}

CTHeldValue& CTHeldValue::operator=(const CTHeldValue& o)
{
    if (this != &o) {
        CTHeldValue copy(o);
        std::swap(value_, copy.value_);
    }
    return *this;
}

CTHeldValue::~CTHeldValue()
{
    switch (value_.kind()) {
    case CFAttributeValue::Kind::Font: CFRelease(static_cast<CTFontRef>(object())); break;
    case CFAttributeValue::Kind::Color: CGColorRelease(static_cast<CGColorRef>(const_cast<void*>(object()))); break;
    case CFAttributeValue::Kind::ParagraphStyle: CFRelease(static_cast<CTParagraphStyleRef>(object())); break;
    case CFAttributeValue::Kind::Boolean: break;
    case CFAttributeValue::Kind::Number: CFRelease(static_cast<CFNumberRef>(object())); break;
    }
}

const Attributes* CFAttributedString::attributesAt(CFIndex index) const
{
    CFIndex start = 0;
    for (const Run& run : runs) {
        if (index < start + run.length) return &run.attributes;
        start += run.length;
    }
    return runs.empty() ? nullptr : &runs.back().attributes;
}

const void* CFAttributedString::attributeAt(CFIndex index, const char* name, CFAttributeValue::Kind kind) const
{
    const Attributes* attributes = attributesAt(index);
    if (!attributes) return nullptr;
    for (const auto& [key, value] : *attributes)
        if (key == name) return value.kind() == kind ? value.object() : nullptr;
    return nullptr;
}

CTFontRef CFAttributedString::fontAt(CFIndex index) const
{
    auto font = static_cast<CTFontRef>(attributeAt(index, kCTFontAttributeName, CFAttributeValue::Kind::Font));
    return font ? font : CTDefaultFont();
}

CTRef<CFAttributedString>
CFAttributedString::concatenate(const std::vector<std::pair<CFAttributedStringRef, CFRange>>& pieces)
{
    CTRef<CFAttributedString> result = CTRef<CFAttributedString>::adopt(new CFAttributedString);
    for (const auto& [source, range] : pieces) {
        result->text.append(source->text, size_t(range.location), size_t(range.length));
        CFIndex start = 0;
        for (const Run& run : source->runs) {
            CFIndex from = std::max(start, range.location),
                    to = std::min(start + run.length, range.location + range.length);
            if (from < to) result->runs.push_back({to - from, run.attributes});
            start += run.length;
        }
    }
    mergeRuns(*result.get());
    return result;
}

CFMutableAttributedStringRef CFAttributedStringCreateMutable()
{
    return new CFAttributedString;
}

CFAttributedStringRef CFRetain(CFAttributedStringRef string)
{
    if (string) const_cast<CFAttributedString*>(string)->retain();
    return string;
}

void CFRelease(CFAttributedStringRef string)
{
    if (string) const_cast<CFAttributedString*>(string)->release();
}

CFIndex CFAttributedStringGetLength(CFAttributedStringRef string)
{
    return string ? CTUTF16Length(string->text) : 0;
}

const std::string& CFAttributedStringGetString(CFAttributedStringRef string)
{
    static const std::string empty;
    return string ? string->text : empty;
}

void CFAttributedStringReplaceString(CFMutableAttributedStringRef string, CFRange range, std::string_view text)
{
    if (!string || !onText(*string, range, "CFAttributedStringReplaceString")) return;
    range = CTByteRange(string->text, range);
    gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
    std::string replacement(valid);
    g_free(valid);
    Attributes inherited;
    CFIndex from = range.length > 0 || range.location == 0 ? range.location : range.location - 1;
    if (const Attributes* a = string->attributesAt(from)) inherited = *a;
    size_t first = splitAt(*string, range.location);
    size_t last = splitAt(*string, range.location + range.length);
    string->runs.erase(string->runs.begin() + std::ptrdiff_t(first), string->runs.begin() + std::ptrdiff_t(last));
    if (!replacement.empty())
        string->runs.insert(string->runs.begin() + std::ptrdiff_t(first), {CFIndex(replacement.size()), inherited});
    string->text.replace(size_t(range.location), size_t(range.length), replacement);
    mergeRuns(*string);
}

void CFAttributedStringSetAttribute(CFMutableAttributedStringRef string, CFRange range, CFStringRef name,
                                    CFAttributeValue value)
{
    if (!string || !name || !value.object() || !onText(*string, range, "CFAttributedStringSetAttribute")) return;
    range = CTByteRange(string->text, range);
    size_t first = splitAt(*string, range.location);
    size_t last = splitAt(*string, range.location + range.length);
    for (size_t i = first; i < last; ++i) {
        Attributes& attributes = string->runs[i].attributes;
        auto at = std::lower_bound(attributes.begin(), attributes.end(), name,
                                   [](const auto& entry, const char* key) { return entry.first < key; });
        if (at != attributes.end() && at->first == name)
            at->second = CTHeldValue(value);
        else
            attributes.insert(at, {name, CTHeldValue(value)});
    }
    mergeRuns(*string);
}

const void* CFAttributedStringGetAttribute(CFAttributedStringRef string, CFIndex location, CFStringRef name,
                                           CFRange* effectiveRange)
{
    if (effectiveRange) *effectiveRange = CFRangeMake(0, 0);
    if (!string || !name || location < 0 || location >= CTUTF16Length(string->text)) return nullptr;
    location = CTByteOffset(string->text, location);
    const std::vector<CFAttributedString::Run>& runs = string->runs;
    auto valueOf = [name](const CFAttributedString::Run& run) -> const void* {
        for (const auto& [key, value] : run.attributes)
            if (key == name) return value.object();
        return nullptr;
    };
    size_t k = 0;
    CFIndex start = 0;
    while (location >= start + runs[k].length) start += runs[k++].length;
    const void* found = valueOf(runs[k]);
    if (effectiveRange) {
        // Neighbouring runs differ in some attribute, not necessarily in this one.
        CFIndex from = start, to = start + runs[k].length;
        for (size_t i = k; i > 0 && valueOf(runs[i - 1]) == found; --i) from -= runs[i - 1].length;
        for (size_t i = k + 1; i < runs.size() && valueOf(runs[i]) == found; ++i) to += runs[i].length;
        *effectiveRange = CTUTF16Range(string->text, CFRangeMake(from, to - from));
    }
    return found;
}
