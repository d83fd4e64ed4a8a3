#include "instrument.h"

#include <algorithm>
#include <iterator>

namespace orvanta::sim {

namespace {

constexpr std::uint8_t kFiller = 0x00;

void writeField(std::uint8_t &byte, std::uint8_t mask, std::uint8_t value)
{
    byte = static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
}

std::uint8_t nextStep(std::uint8_t current, std::span<const std::uint8_t> steps)
{
    const auto found = std::ranges::find(steps, current);
    if (found == steps.end() || std::next(found) == steps.end())
        return steps.front();
    return *std::next(found);
}

} // namespace

Instrument::Instrument(const StatusBlock &initial, std::size_t statusLength, bool live)
    : state_(initial)
    , statusLength_(statusLength)
    , picture_(live)
{
    // The presets hold what the instrument started with until something is stored.
    presets_.fill(initial);
}

bool Instrument::receive(std::uint8_t code, Reply &reply)
{
    const std::span<const Command> rows = commandsFor(code);
    for (const Command &command : rows)
        apply(command, reply);
    return !rows.empty();
}

void Instrument::apply(const Command &command, Reply &reply)
{
    std::uint8_t &byte = state_[command.byte];
    switch (command.action) {
    case Action::noChange: break;
    case Action::setField: writeField(byte, command.mask, command.value); break;
    case Action::toggleBits: byte ^= command.mask; break;
    case Action::stepField: writeField(byte, command.mask, nextStep(byte & command.mask, command.steps)); break;
    case Action::storePreset: presets_[command.value] = state_; break;
    case Action::recallPreset: state_ = presets_[command.value]; break;
    case Action::statusRequest: appendStatus(reply.bytes); break;
    case Action::pictureStart: picture_.start(state_, reply); break;
    case Action::pictureBlock: picture_.nextBlock(reply); break;
    case Action::pictureEnd: picture_.end(); break;
    }
}

void Instrument::appendStatus(std::vector<std::uint8_t> &reply) const
{
    const std::size_t fromBlock = std::min(statusLength_, state_.size());
    reply.insert(reply.end(), state_.begin(), state_.begin() + static_cast<std::ptrdiff_t>(fromBlock));
    reply.insert(reply.end(), statusLength_ - fromBlock, kFiller);
}

} // namespace orvanta::sim
