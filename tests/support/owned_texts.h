// Texts for IndexEntry records made by hand: the records only view their texts,
// so something that outlives them has to hold them.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <utility>

namespace testing_support {

// Holds every text handed to it for as long as it lives; a deque never moves
// the strings it holds, so the views stay valid.
struct OwnedTexts {
  std::deque<std::string> texts;

  std::string_view operator()(std::string text) {
    texts.push_back(std::move(text));
    return texts.back();
  }
};

}  // namespace testing_support
