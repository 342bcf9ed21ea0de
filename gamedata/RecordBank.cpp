#include "RecordBank.h"

#include <algorithm>

namespace korvane {

namespace {

// Layout of the bank as the game sees it at CPU 0x8000.
constexpr std::size_t kPointersALow = 0x000;
constexpr std::size_t kPointersAHigh = 0x080;
constexpr std::size_t kPointersBLow = 0x100;
constexpr std::size_t kPointersBHigh = 0x200;
constexpr std::uint32_t kFirstRecord = 0x8300;
constexpr std::uint32_t kBankEnd = kBankCpuBase + kBankSize; // CPU 0xA000
constexpr std::size_t kRecordHeaderBytes = 2;

bool IsProgramBank(std::uint32_t fileOffset) {
    return fileOffset >= kProgramOffset && fileOffset + kBankSize <= kCharacterOffset &&
           (fileOffset - kProgramOffset) % kBankSize == 0;
}

template <std::size_t N>
std::int32_t ReadPointers(std::span<const std::uint8_t, kBankSize> bank, std::size_t low,
                          std::size_t high, std::array<std::uint16_t, N>& pointers) {
    std::int32_t largest = 0;
    for (std::size_t i = 0; i < N; ++i) {
        pointers[i] = static_cast<std::uint16_t>(bank[low + i] | bank[high + i] << 8);
        largest = std::max<std::int32_t>(largest, pointers[i]);
    }
    return largest;
}

template <std::size_t N>
void WritePointers(std::span<std::uint8_t, kBankSize> bank, std::size_t low, std::size_t high,
                   const std::array<std::uint16_t, N>& pointers) {
    for (std::size_t i = 0; i < N; ++i) {
        bank[low + i] = static_cast<std::uint8_t>(pointers[i]);
        bank[high + i] = static_cast<std::uint8_t>(pointers[i] >> 8);
    }
}

// Reads one record at CPU address p whose items take itemBytes bytes; the caller has checked
// that it lies inside the bank.
void ReadRecord(std::span<const std::uint8_t, kBankSize> bank, std::uint32_t p,
                std::size_t itemBytes, BankRecord& record) {
    const std::size_t at = p - kBankCpuBase;
    record.address = static_cast<std::uint16_t>(p);
    record.pointerCount = 0;
    record.header = {bank[at], bank[at + 1]};
    const auto items = bank.begin() + static_cast<std::ptrdiff_t>(at + kRecordHeaderBytes);
    record.items.assign(items, items + static_cast<std::ptrdiff_t>(itemBytes));
}

bool HeaderFits(std::uint32_t p) {
    return p >= kBankCpuBase && p + kRecordHeaderBytes <= kBankEnd;
}

// Each pointer that names a record's address counts for that record. Records lie at strictly
// increasing addresses.
template <std::size_t N>
void CountPointers(const std::array<std::uint16_t, N>& pointers, std::vector<BankRecord>& records) {
    for (const std::uint16_t pointer : pointers) {
        const auto found = std::lower_bound(records.begin(), records.end(), pointer,
                                            [](const BankRecord& record, std::uint16_t address) {
                                                return record.address < address;
                                            });
        if (found != records.end() && found->address == pointer) {
            ++found->pointerCount;
        }
    }
}

// Writes a record at its own address, header then items, never past the end of the bank.
void WriteRecord(std::span<std::uint8_t, kBankSize> bank, const BankRecord& record,
                 std::uint8_t byte0, std::size_t itemBytes) {
    const std::uint32_t p = record.address;
    if (!HeaderFits(p)) {
        return;
    }
    const std::size_t at = p - kBankCpuBase;
    bank[at] = byte0;
    bank[at + 1] = record.header[1];
    const std::size_t room = kBankSize - (at + kRecordHeaderBytes);
    const std::size_t count = std::min({itemBytes, record.items.size(), room});
    std::copy_n(record.items.begin(), count,
                bank.begin() + static_cast<std::ptrdiff_t>(at + kRecordHeaderBytes));
}

} // namespace

void RecordBank::Decode(const RomImage& image, std::uint32_t bankFileOffset) {
    fileOffset = bankFileOffset;
    pointersA.fill(0);
    pointersB.fill(0);
    maxA = 0;
    maxB = 0;
    countA = 0;
    countB = 0;
    recordsA.clear();
    recordsB.clear();
    endA = static_cast<std::uint16_t>(kFirstRecord);
    if (!IsProgramBank(bankFileOffset)) {
        return;
    }
    const auto bank = image.Bank(bankFileOffset);

    // Kind A: byte 0 = item count - 1 (0xFF gives no items), one byte per item.
    maxA = ReadPointers(bank, kPointersALow, kPointersAHigh, pointersA);
    std::uint32_t p = kFirstRecord;
    while (maxA > static_cast<std::int32_t>(kFirstRecord) && p < static_cast<std::uint32_t>(maxA)) {
        if (!HeaderFits(p)) {
            break;
        }
        const std::size_t items = (bank[p - kBankCpuBase] + 1u) & 0xFFu;
        if (p + kRecordHeaderBytes + items > kBankEnd) {
            break;
        }
        ReadRecord(bank, p, items, recordsA.emplace_back());
        p += static_cast<std::uint32_t>(items + kRecordHeaderBytes);
    }
    countA = static_cast<std::int32_t>(recordsA.size());
    endA = static_cast<std::uint16_t>(p);
    CountPointers(pointersA, recordsA);

    // Kind B: byte 0 = flag in bit 7 and item count - 1, two bytes per item.
    maxB = ReadPointers(bank, kPointersBLow, kPointersBHigh, pointersB);
    while (p <= static_cast<std::uint32_t>(maxB)) {
        if (!HeaderFits(p)) {
            break;
        }
        const std::size_t items = 2 * ((bank[p - kBankCpuBase] & 0x7Fu) + 1u);
        if (p + kRecordHeaderBytes + items > kBankEnd) {
            break;
        }
        ReadRecord(bank, p, items, recordsB.emplace_back());
        p += static_cast<std::uint32_t>(items + kRecordHeaderBytes);
    }
    countB = static_cast<std::int32_t>(recordsB.size());
    CountPointers(pointersB, recordsB);
}

void RecordBank::Encode(RomImage& image) const {
    if (!IsProgramBank(fileOffset)) {
        return; // never decoded
    }
    const auto bank = image.Bank(fileOffset);
    WritePointers(bank, kPointersALow, kPointersAHigh, pointersA);
    for (const BankRecord& record : recordsA) {
        WriteRecord(bank, record, static_cast<std::uint8_t>(record.items.size() - 1),
                    record.items.size());
    }
    WritePointers(bank, kPointersBLow, kPointersBHigh, pointersB);
    for (const BankRecord& record : recordsB) {
        WriteRecord(bank, record, record.header[0], 2 * ((record.header[0] & 0x7Fu) + 1u));
    }
}

} // namespace korvane
