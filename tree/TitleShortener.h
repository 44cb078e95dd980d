// Fits a title into a bar: a text wider than the bar keeps its head and tail around " ... ",
// and a bar too narrow even for that shows "-".
#pragma once

#include <functional>
#include <string>

std::string ShortenInMiddle(const std::string &text, int barWidth,
                            const std::function<int(const std::string &)> &textWidth);
