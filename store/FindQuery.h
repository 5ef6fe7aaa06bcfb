#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the user typed into the Find box, made into the conditions of a search of the side
// table. Every word is taken as text: the FTS5 syntax (quotes, *, -, ^, :, parentheses, AND,
// OR, NOT, NEAR) never reaches the query language, as each word becomes a quoted phrase.
namespace history::find {

// The trigram tokenizer indexes runs of three characters; a shorter word has no trigram to look up.
inline constexpr std::size_t kShortestIndexedWord = 3;

struct FindQuery {
    // FTS5 expression: every word of three or more characters as a phrase, joined by AND;
    // empty when there is none.
    std::string match;
    // Words of one or two characters, matched by scanning captions and window titles.
    std::vector<std::string> shortWords;

    bool empty() const { return match.empty() && shortWords.empty(); }
};

// Words are separated by blanks (ASCII white space); text is UTF-8.
FindQuery parse(std::string_view typed);

// "word" with every double quote doubled: one FTS5 phrase that means exactly the word.
std::string phrase(std::string_view word);

// A LIKE pattern "%word%" that finds the word as it stands: %, _ and the backslash (the
// pattern's escape character) are escaped with a backslash.
std::string likePattern(std::string_view word);

}  // namespace history::find
