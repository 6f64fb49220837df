#pragma once
// Object layouts shared by the sources of this library, and the Pango side of it; not for other
// libraries.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CoreText/CoreText.h"

// Owning handle over a counted object: adopts a +1 reference or retains one on request.
template <class T>
class CTRef {
public:
    CTRef() = default;
    static CTRef adopt(const T* p)
    {
        CTRef r;
        r.p_ = const_cast<T*>(p);
        return r;
    }
    static CTRef retained(const T* p)
    {
        CTRef r;
        r.p_ = const_cast<T*>(p);
        if (r.p_) r.p_->retain();
        return r;
    }
    CTRef(const CTRef& o) : p_(o.p_)
    {
        if (p_) p_->retain();
    }
    CTRef(CTRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    CTRef& operator=(CTRef o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~CTRef()
    {
        if (p_) p_->release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    // Hands the reference to the caller.
    T* leak() { return std::exchange(p_, nullptr); }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

struct CFBoolean : CGObject {
    bool value = false;
};

struct CFNumber : CGObject {
    double value = 0;
};

struct CTParagraphStyle : CGObject {
    CTLineBreakMode lineBreakMode = kCTLineBreakByWordWrapping;
};

struct CTFont : CGObject {
    ~CTFont() override;
    std::string name;      // the name it answers to (the mapping table's)
    std::string fullName;  // of the face found
    CGFloat size = 0;
    PangoFontDescription* description = nullptr;
    CGFloat ascent = 0, descent = 0, leading = 0, capHeight = 0, xHeight = 0;
};

struct CTFontDescriptor : CGObject {
    std::string name;
    CGFloat size = 0;
};

// An attribute's value, retained.
class CTHeldValue {
public:
    explicit CTHeldValue(CFAttributeValue value);
    CTHeldValue(const CTHeldValue& o);
    CTHeldValue& operator=(const CTHeldValue& o);
    ~CTHeldValue();
    const void* object() const { return value_.object(); }
    CFAttributeValue::Kind kind() const { return value_.kind(); }
    bool operator==(const CTHeldValue& o) const { return object() == o.object(); }

private:
    CFAttributeValue value_;
};

struct CFAttributedString : CGObject {
    using Attributes = std::vector<std::pair<std::string, CTHeldValue>>;  // sorted by name
    struct Run {
        CFIndex length;
        Attributes attributes;
    };
    std::string text;
    std::vector<Run> runs;  // cover the text, no empty run, neighbours differ

    // The attributes at a byte index (those of the last character at the end of the text).
    const Attributes* attributesAt(CFIndex index) const;
    // The value under the name when it is of the kind, else null.
    const void* attributeAt(CFIndex index, const char* name, CFAttributeValue::Kind kind) const;
    CTFontRef fontAt(CFIndex index) const;  // the default font where none is set
    // A new string of the pieces of other strings, in order.
    static CTRef<CFAttributedString> concatenate(const std::vector<std::pair<CFAttributedStringRef, CFRange>>& pieces);
};

// Glyphs of one font and one colour, positioned from the line's origin in Cairo's glyph space
// (x right, y down).
struct CTGlyphRun {
    CTGlyphRun() = default;
    CTGlyphRun(const CTGlyphRun&) = delete;
    CTGlyphRun& operator=(const CTGlyphRun&) = delete;
    CTGlyphRun(CTGlyphRun&& o) noexcept;
    ~CTGlyphRun();
    cairo_scaled_font_t* font = nullptr;  // referenced
    double fontSize = 0;
    CGColorRef color = nullptr;  // retained; null: the context's fill colour when fromContext, else black
    bool colorFromContext = false;
    double strokeWidth = 0;            // percent of the font size, as the attribute says
    CGColorRef strokeColor = nullptr;  // retained; null: the fill colour
    std::vector<cairo_glyph_t> glyphs;
};

struct CTLine : CGObject {
    CTRef<CFAttributedString> string;
    CFRange range;
    std::vector<CTGlyphRun> runs;
    std::vector<CTGlyphRunInfo> runInfo;  // ranges in UTF-16 units, as the interface answers
    CFRange utf16Range;                   // of `range`
    double width = 0, ascent = 0, descent = 0, leading = 0, trailingWhitespace = 0;
    CGRect ink = CGRectNull;   // from the origin, y up
    bool rightToLeft = false;  // of its paragraph
    // Caret indices (bytes, UTF-16 units once the ranges are finished) and their x from the
    // origin, in logical order.
    std::vector<std::pair<CFIndex, double>> carets;

    double visibleWidth() const { return width - trailingWhitespace; }
};

struct CTFramesetter : CGObject {
    CTRef<CFAttributedString> string;
};

struct CTFrame : CGObject {
    CTRef<CFAttributedString> string;
    CFRange visible;               // bytes of the text the lines hold
    std::vector<CTLineRef> lines;  // owned
    std::vector<CGPoint> origins;  // from the path's bounding box origin, y up
    ~CTFrame() override;
};

// Helvetica at 12 points, for text without a font. Made on first use, which must not hold the
// text lock.
CTFontRef CTDefaultFont();

// The full name of the face a Pango font draws with, such as "DejaVu Sans Bold".
std::string CTFaceNameOf(PangoFont* font);

// Every call into Pango and fontconfig holds this lock: font maps are not thread-safe.
std::unique_lock<std::mutex> CTTextLock();
// The one font map (our own fontconfig configuration) and a context with the fixed font options.
PangoContext* CTPangoContext();
// Lets layout use the faces of a font file (once per file); false when fontconfig cannot read it.
// Holds the text lock.
bool CTAddFontFile(const std::string& path);

// UTF-16 indices of byte offsets on character edges, counted on from the last one asked for: a
// walk forward through the text costs its length once, a step back starts again from the mark
// (or the start, back past it).
class CTUTF16Walker {
public:
    explicit CTUTF16Walker(const std::string& text) : text_(text) {}
    CFIndex indexAt(CFIndex byteOffset);
    CFRange range(CFRange byteRange);
    // Steps back start from the last offset asked for.
    void mark();

private:
    const std::string& text_;
    CFIndex byte_ = 0, unit_ = 0;
    CFIndex markByte_ = 0, markUnit_ = 0;
};

// Turns the line's byte ranges (and its carets) into the interface's UTF-16 ones, once its layout
// is done. The walker's form, for lines in order, leaves it at the line's end.
void CTFinishLineRanges(CTLine& line);
void CTFinishLineRanges(CTLine& line, CTUTF16Walker& utf16);

// Lines of text in `range`, wrapped to `width` as `mode` says (clipping and truncating modes keep
// one line per paragraph; truncation is the caller's); a negative width never wraps. A paragraph
// separator ending the range makes no line of its own.
std::vector<CTRef<CTLine>> CTLayoutLines(CFAttributedStringRef string, CFRange range, double width,
                                         CTLineBreakMode mode);
// The whole range on one line: paragraphs follow one another, their separators taking no room.
CTRef<CTLine> CTLayoutSingleLine(CFAttributedStringRef string, CFRange range);

// The interface counts UTF-16 units, the text inside is UTF-8: positions cross over here. A UTF-16
// index inside a surrogate pair means the pair's start; one past the end, the end.
CFIndex CTUTF16Length(const std::string& text);
CFIndex CTByteOffset(const std::string& text, CFIndex utf16Index);
CFIndex CTUTF16Index(const std::string& text, CFIndex byteOffset);
CFRange CTByteRange(const std::string& text, CFRange utf16Range);
CFRange CTUTF16Range(const std::string& text, CFRange byteRange);

// Moves a byte range onto the text: clamped, its ends out to character edges.
CFRange CTClampRange(const std::string& text, CFRange range);
