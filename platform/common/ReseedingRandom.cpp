#include "platform/common/ReseedingRandom.h"

#include <array>
#include <chrono>

namespace talvane {
namespace {

constexpr std::size_t kEntropyWords = 4;

// Zeros when the system has no entropy source: the clocks and the process
// id still vary between machines, if less well.
std::array<std::uint32_t, kEntropyWords> entropyWords() {
    std::array<std::uint32_t, kEntropyWords> words{};
    try {
        std::random_device device;
        for (auto& word : words) word = device();
    } catch (...) {
    }
    return words;
}

std::uint32_t low(std::uint64_t v) { return static_cast<std::uint32_t>(v); }
std::uint32_t high(std::uint64_t v) { return static_cast<std::uint32_t>(v >> 32); }

}  // namespace

ReseedingRandom::ReseedingRandom(std::uint32_t processId) : processId_(processId) { reseed(); }

void ReseedingRandom::reseed() {
    const auto now = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    const auto steady =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    ++reseeds_;
    const auto entropy = entropyWords();
    const std::array<std::uint32_t, 6 + kEntropyWords> words{
        low(now),      high(now),  low(steady), high(steady), processId_,
        low(reseeds_), entropy[0], entropy[1],  entropy[2],   entropy[3],
    };
    std::seed_seq seed(words.begin(), words.end());
    engine_.seed(seed);
}

float ReseedingRandom::next() {
    // 24 random bits fill a float's mantissa exactly, so the largest value
    // is 1 - 2^-24 and 1.0f can never come out.
    const auto bits = static_cast<std::uint32_t>(engine_() >> 40);
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

}  // namespace talvane
