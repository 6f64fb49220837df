#include "QZReplayTextSteps.h"

#include "TesselSDKImaging/Modules/QZToolModule.h"
#include "TesselSDKImaging/Processors/QZMemeProcessor.h"
#include "TesselSDKImaging/Processors/QZTextProcessor.h"

#include "UIKit/UIColor.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qz_replay {

namespace {

// The text tool's default font ("editor.tool.text.fontName").
constexpr const char* kTextFontName = "ArialMT";

// The text after the `count`-th comma; the fields before it in *fields. False when there are fewer
// commas.
bool splitLeadingFields(const std::string& value, std::size_t count, std::vector<std::string>* fields,
                        std::string* rest)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) return false;
        fields->push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
    *rest = value.substr(start);
    return true;
}

bool parseColour(const std::string& text, std::shared_ptr<UIColor>* colour)
{
    if (text == "white" || text == "black") {
        *colour = UIColor::colorWithWhite(text == "white" ? 1 : 0, 1);
        return true;
    }
    if (text.size() != 7 || text[0] != '#' ||
        !std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    long rgb = std::strtol(text.c_str() + 1, nullptr, 16);
    *colour = UIColor::colorWithRed(CGFloat((rgb >> 16) & 0xFF) / 255, CGFloat((rgb >> 8) & 0xFF) / 255,
                                    CGFloat(rgb & 0xFF) / 255, 1);
    return true;
}

std::shared_ptr<QZModule> toolModuleHolding(std::shared_ptr<QZProcessor> processor)
{
    std::shared_ptr<QZToolModule> module = QZToolModule::make();
    module->setToolProcessors(std::make_shared<QZProcessorList>());
    module->addProcessor(std::move(processor));
    return module;
}

// Text sizes in image pixels: an em of 10000 pixels covers any photo, and the drawing would be cut
// at a font's largest size all the same.
constexpr double kMaximumTextSize = 10000;
// A caption or a text box holds a few lines; a page of text takes seconds to lay out.
constexpr std::size_t kMaximumTextBytes = 4096;

CGFloat longerSide(const StepTarget& target)
{
    return std::max(target.size.width, target.size.height);
}

bool parseText(const std::string& value, ModuleMaker* maker, std::string* error)
{
    std::vector<std::string> fields;
    std::string text;
    std::vector<double> numbers;
    std::shared_ptr<UIColor> colour;
    auto fail = [&](const char* why) {
        *error = why;
        return false;
    };
    if (!splitLeadingFields(value, 7, &fields, &text)) return fail("expected X,Y,W,H,SIZE,ANGLE,COLOR,TEXT");
    for (std::size_t i = 0; i < 6; ++i) {
        double v = 0;
        if (!parseReal(fields[i], &v)) return fail("X, Y, W, H, SIZE and ANGLE must be numbers");
        numbers.push_back(v);
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) return fail("W and H must be more than 0");
    if (numbers[4] <= 0 || numbers[4] > kMaximumTextSize) return fail("SIZE must be more than 0 and at most 10000");
    if (text.size() > kMaximumTextBytes) return fail("TEXT must be at most 4096 bytes");
    if (!parseColour(fields[6], &colour)) return fail("COLOR must be #RRGGBB, white or black");
    const CGRect rect = CGRectMake(CGFloat(numbers[0]), CGFloat(numbers[1]), CGFloat(numbers[2]), CGFloat(numbers[3]));
    const CGFloat size = CGFloat(numbers[4]), angle = CGFloat(numbers[5]);
    *maker = [rect, size, angle, colour, text = unescapeLineFeeds(text)](const StepTarget& target) {
        std::shared_ptr<QZTextProcessor> processor = QZTextProcessor::make();
        processor->setText(text);
        processor->setForegroundColor(colour);
        processor->setBackgroundColor(colour);
        processor->setRect(rect);
        processor->setScale(size / longerSide(target));
        processor->setRotation(angle);
        processor->setFontName(kTextFontName);
        return toolModuleHolding(processor);
    };
    return true;
}

bool parseMeme(const std::string& value, ModuleMaker* maker, std::string* error)
{
    std::vector<std::string> fields;
    std::string captions;
    double top = 0, bottom = 0;
    std::size_t bar = std::string::npos;
    if (!splitLeadingFields(value, 2, &fields, &captions) || !parseReal(fields[0], &top) ||
        !parseReal(fields[1], &bottom) || top <= 0 || bottom <= 0 || top > kMaximumTextSize ||
        bottom > kMaximumTextSize || (bar = captions.find('|')) == std::string::npos) {
        *error = "expected TOPSIZE,BOTTOMSIZE,TOP|BOTTOM with sizes more than 0 and at most 10000";
        return false;
    }
    if (captions.size() > kMaximumTextBytes + 1) {
        *error = "the captions must be at most 4096 bytes";
        return false;
    }
    *maker = [top = CGFloat(top), bottom = CGFloat(bottom), topText = unescapeLineFeeds(captions.substr(0, bar)),
              bottomText = unescapeLineFeeds(captions.substr(bar + 1))](const StepTarget& target) {
        std::shared_ptr<QZMemeProcessor> processor = QZMemeProcessor::make();
        processor->setTopText(topText);
        processor->setBottomText(bottomText);
        processor->setTopFontSize(top);
        processor->setBottomFontSize(bottom);
        processor->setScale(1 / longerSide(target));
        processor->setTopRect(CGRectMake(0, 0, 1, 1.0f / 3));
        processor->setBottomRect(CGRectMake(0, 2.0f / 3, 1, 1.0f / 3));
        return toolModuleHolding(processor);
    };
    return true;
}

}  // namespace

std::string unescapeLineFeeds(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

const std::vector<StepKind>& textStepKinds()
{
    static const std::vector<StepKind> table = {
        {"text", "X,Y,W,H,SIZE,ANGLE,COLOR,TEXT",
         "outlined text in the box (fractions of the image, top-left origin), enlarged SIZE times, turned ANGLE "
         "radians clockwise, in #RRGGBB, white or black; \\n is a line feed",
         parseText},
        {"meme", "TOPSIZE,BOTTOMSIZE,TOP|BOTTOM",
         "meme captions at the sizes in image pixels, top and bottom split at the first |; \\n is a line feed",
         parseMeme},
    };
    return table;
}

}  // namespace qz_replay
