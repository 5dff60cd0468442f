#pragma once

#include <compare>
#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quorrin {

class ByteSet;

// Bytes in code page 936 that never hold a zero byte: whatever is put in is
// cut at its first zero byte, the way a zero-terminated string reads it.
class Text {
  public:
    Text() = default;
    // Implicit on purpose: texts are built from literals of bytes everywhere.
    Text(std::string_view bytes);  // NOLINT(google-explicit-constructor)
    Text(const char* bytes) : Text(std::string_view(bytes == nullptr ? "" : bytes)) {}  // NOLINT
    // Takes the bytes over without copying them; cut at the first zero byte too.
    explicit Text(std::string&& bytes);

    [[nodiscard]] int length() const { return static_cast<int>(bytes_.size()); }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }
    [[nodiscard]] std::string_view view() const { return bytes_; }
    [[nodiscard]] const std::string& str() const { return bytes_; }
    [[nodiscard]] const char* c_str() const { return bytes_.c_str(); }
    [[nodiscard]] unsigned char byteAt(int index0) const {
        return static_cast<unsigned char>(bytes_[static_cast<std::size_t>(index0)]);
    }

    Text& operator+=(const Text& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend Text operator+(Text left, const Text& right) {
        left += right;
        return left;
    }
    // Compares unsigned bytes, case-sensitively.
    friend bool operator==(const Text&, const Text&) = default;
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) {
        const int c = a.bytes_.compare(b.bytes_);
        return c < 0 ? std::strong_ordering::less
                     : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
    }

  private:
    std::string bytes_;
};

// A counted run of any bytes, zeros included.
class ByteSet {
  public:
    ByteSet() = default;
    explicit ByteSet(std::string bytes) : bytes_(std::move(bytes)) {}
    ByteSet(const void* data, std::size_t size)
        : bytes_(static_cast<const char*>(data), static_cast<const char*>(data) + size) {}

    [[nodiscard]] int length() const { return static_cast<int>(bytes_.size()); }
    [[nodiscard]] bool empty() const { return bytes_.empty(); }
    [[nodiscard]] const char* data() const { return bytes_.data(); }
    [[nodiscard]] char* data() { return bytes_.data(); }
    [[nodiscard]] std::string_view view() const { return bytes_; }
    [[nodiscard]] const std::string& str() const { return bytes_; }
    void append(std::string_view more) { bytes_.append(more); }

    ByteSet& operator+=(const ByteSet& other) {
        bytes_ += other.bytes_;
        return *this;
    }
    friend ByteSet operator+(ByteSet left, const ByteSet& right) {
        left += right;
        return left;
    }
    // Equal means the same length and the same bytes.
    friend bool operator==(const ByteSet&, const ByteSet&) = default;

  private:
    std::string bytes_;
};

// A growable list of texts indexed from 1. Reading outside 1..count gives
// the empty text, so no caller can read past the end.
class TextArray {
  public:
    TextArray() = default;
    TextArray(std::initializer_list<Text> items) : items_(items) {}

    [[nodiscard]] int count() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] bool empty() const { return items_.empty(); }
    [[nodiscard]] const Text& at(int index1) const;
    void append(Text item) { items_.push_back(std::move(item)); }
    void clear() { items_.clear(); }
    [[nodiscard]] const std::vector<Text>& items() const { return items_; }

    friend bool operator==(const TextArray&, const TextArray&) = default;

  private:
    std::vector<Text> items_;
};

// Readable forms for logs and test failures: quoted, with every byte outside
// printable ASCII written as \xHH.
std::ostream& operator<<(std::ostream& out, const Text& t);
std::ostream& operator<<(std::ostream& out, const ByteSet& b);
std::ostream& operator<<(std::ostream& out, const TextArray& items);

}  // namespace quorrin
