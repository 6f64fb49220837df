#pragma once
// Validators of customization option values. The option store asks an option's validator at
// every read and falls back to the option's default when it refuses. Each factory returns a new
// block; the ones taking a list capture it.

#include <functional>

#include "Foundation/Value.h"

// Answers YES when the candidate value may be used.
using validatorBlock = std::function<bool(const Value&)>;

// Keys of a crop preset dictionary ("name" optional string, "width" and "height" numbers).
inline constexpr const char* kQZCropPresetName = "name";
inline constexpr const char* kQZCropPresetWidth = "width";
inline constexpr const char* kQZCropPresetHeight = "height";
// Keys of a text colour set: two arrays of colours of equal length.
inline constexpr const char* kQZTextFillColors = "fillColors";
inline constexpr const char* kQZTextBorderColors = "borderColors";

// A string equal (case-sensitive) to one of `allowedValues` (an array of strings).
validatorBlock stringValueValidator(const Value& allowedValues);
// A UIColor that is not a pattern.
validatorBlock rgbColorValidator();
// Interface orientations 1 to 4, one to four of them, and only off the phone idiom: on a phone
// every value is refused, so the default orientation list always applies there.
validatorBlock supportedOrientationsValidator();
// A non-empty array of tool keys, each one of `toolKeys`.
validatorBlock toolOrderValidator(const Value& toolKeys);
// A crop preset: whole "width" and "height" of at least 0, "name" absent or a string.
validatorBlock singleCropPresetValidator();
// An array of crop presets; the empty array passes.
validatorBlock cropPresetsValidator();
// A number from 20 to 120, both ends included.
validatorBlock cellWidthValidator();
// A non-empty array of RGB colours.
validatorBlock colorChoiceValidator();
// A text colour set whose two colour choices have the same length.
validatorBlock textColorValidator();
// A non-empty array of numbers from 5 to 80, both ends included.
validatorBlock brushSizeValidator();
// A whole number of at least 0.
validatorBlock positiveIndexValidator();
