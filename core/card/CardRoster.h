#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "card/CardStack.h"

namespace talvane::card {

// The cards on screen and the messages they show, newest first: a message
// already on screen restarts its card instead of opening a second one, and
// beyond kMostCards the oldest ones close. Card is the face's handle.
template <typename Card>
class CardRoster {
  public:
    // The card showing message, or nullptr.
    const Card* showing(std::u16string_view message) const {
        for (const Entry& entry : entries_) {
            if (entry.message == message) return &entry.card;
        }
        return nullptr;
    }

    // Adds card as the newest; returns the cards it pushes out, oldest
    // last, no longer listed, which the face closes.
    std::vector<Card> add(Card card, std::u16string message) {
        entries_.insert(entries_.begin(), Entry{card, std::move(message)});
        std::vector<Card> surplus;
        while (entries_.size() > std::size_t(kMostCards)) {
            surplus.insert(surplus.begin(), entries_.back().card);
            entries_.pop_back();
        }
        return surplus;
    }

    // false when card was not listed (already removed).
    bool remove(const Card& card) {
        return std::erase_if(entries_, [&](const Entry& entry) { return entry.card == card; }) > 0;
    }

    std::vector<Card> newestFirst() const {
        std::vector<Card> cards;
        for (const Entry& entry : entries_) cards.push_back(entry.card);
        return cards;
    }

    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        Card card;
        std::u16string message;
    };
    std::vector<Entry> entries_;
};

}  // namespace talvane::card
