#pragma once

#include <curl/curl.h>

#include <utility>

#include "platform/curl_global.h"

namespace quorrin {

// Owns one easy handle: movable, not copyable, cleaned up on destruction. A
// holder whose handle could not be made is empty (get() is nullptr).
class CurlHolder {
  public:
    CurlHolder() : handle_(ensureCurlInitialised() ? curl_easy_init() : nullptr) {}
    CurlHolder(CurlHolder&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    CurlHolder& operator=(CurlHolder&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    CurlHolder(const CurlHolder&) = delete;
    CurlHolder& operator=(const CurlHolder&) = delete;
    ~CurlHolder() { reset(); }

    [[nodiscard]] CURL* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    void reset() {
        if (handle_ != nullptr) {
            curl_easy_cleanup(handle_);
            handle_ = nullptr;
        }
    }

    CURL* handle_;
};

// Owns one multi handle, for transfers that must end the moment they are
// cancelled (curl_multi_wakeup interrupts its wait).
class CurlMultiHolder {
  public:
    CurlMultiHolder() : handle_(ensureCurlInitialised() ? curl_multi_init() : nullptr) {}
    CurlMultiHolder(CurlMultiHolder&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)) {}
    CurlMultiHolder& operator=(CurlMultiHolder&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    CurlMultiHolder(const CurlMultiHolder&) = delete;
    CurlMultiHolder& operator=(const CurlMultiHolder&) = delete;
    ~CurlMultiHolder() { reset(); }

    [[nodiscard]] CURLM* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    void reset() {
        if (handle_ != nullptr) {
            curl_multi_cleanup(handle_);
            handle_ = nullptr;
        }
    }

    CURLM* handle_;
};

// Owns a curl_slist (a header list). curl keeps only a pointer to it, so it
// must outlive every transfer it is set on.
class CurlSlist {
  public:
    CurlSlist() = default;
    CurlSlist(CurlSlist&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
    CurlSlist& operator=(CurlSlist&& other) noexcept {
        if (this != &other) {
            curl_slist_free_all(list_);
            list_ = std::exchange(other.list_, nullptr);
        }
        return *this;
    }
    CurlSlist(const CurlSlist&) = delete;
    CurlSlist& operator=(const CurlSlist&) = delete;
    ~CurlSlist() { curl_slist_free_all(list_); }

    // False when curl could not copy the entry; the list is then unchanged.
    bool append(const char* entry) {
        curl_slist* grown = curl_slist_append(list_, entry);
        if (grown == nullptr) {
            return false;
        }
        list_ = grown;
        return true;
    }
    [[nodiscard]] curl_slist* get() const { return list_; }

  private:
    curl_slist* list_ = nullptr;
};

}  // namespace quorrin
