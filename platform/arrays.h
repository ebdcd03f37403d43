// Arrays with documented bounds: dimensioned (0 To n) and used from 1.
// Indexing is checked when TIVELOR_CHECKED_ARRAYS or _GLIBCXX_ASSERTIONS is on
// (the sanitizer build), so an index out of range stops the program there.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <cstdio>
#include <vector>

namespace platform {

#if defined(_GLIBCXX_ASSERTIONS) || defined(TIVELOR_CHECKED_ARRAYS)
inline void CheckIndex(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "array index out of range: %s\n", what);
        std::abort();
    }
}
#define TIVELOR_CHECK_INDEX(cond) ::platform::CheckIndex((cond), #cond)
#else
#define TIVELOR_CHECK_INDEX(cond) ((void)0)
#endif

// Vector (0 To ub).
template <class T>
class Vec {
public:
    Vec() = default;
    explicit Vec(long ub) { ReDim(ub); }
    void ReDim(long ub) { v_.assign(ub < 0 ? 0 : static_cast<std::size_t>(ub) + 1, T{}); }
    // Keeps the values that remain in range (ReDim Preserve).
    void ReDimPreserve(long ub) { v_.resize(ub < 0 ? 0 : static_cast<std::size_t>(ub) + 1); }
    long UBound() const { return static_cast<long>(v_.size()) - 1; }
    T& operator()(long i) {
        TIVELOR_CHECK_INDEX(i >= 0 && static_cast<std::size_t>(i) < v_.size());
        return v_[static_cast<std::size_t>(i)];
    }
    const T& operator()(long i) const {
        TIVELOR_CHECK_INDEX(i >= 0 && static_cast<std::size_t>(i) < v_.size());
        return v_[static_cast<std::size_t>(i)];
    }
    T& operator[](long i) { return (*this)(i); }
    const T& operator[](long i) const { return (*this)(i); }
    void Fill(const T& x) { v_.assign(v_.size(), x); }
    std::size_t size() const { return v_.size(); }
    T* data() { return v_.data(); }
    const T* data() const { return v_.data(); }
    auto begin() { return v_.begin(); }
    auto end() { return v_.end(); }
    auto begin() const { return v_.begin(); }
    auto end() const { return v_.end(); }
    bool operator==(const Vec&) const = default;

private:
    std::vector<T> v_;
};

// Vector (lo To hi), for example -NSpp To NSpp.
template <class T>
class OffsetVec {
public:
    OffsetVec() = default;
    OffsetVec(long lo, long hi) { ReDim(lo, hi); }
    void ReDim(long lo, long hi) {
        v_.assign(hi < lo ? 0 : static_cast<std::size_t>(hi - lo) + 1, T{});
        lo_ = lo;
    }
    long LBound() const { return lo_; }
    long UBound() const { return lo_ + static_cast<long>(v_.size()) - 1; }
    T& operator()(long i) {
        TIVELOR_CHECK_INDEX(i >= lo_ && i <= UBound());
        return v_[static_cast<std::size_t>(i - lo_)];
    }
    const T& operator()(long i) const {
        TIVELOR_CHECK_INDEX(i >= lo_ && i <= UBound());
        return v_[static_cast<std::size_t>(i - lo_)];
    }

private:
    long lo_ = 0;
    std::vector<T> v_;
};

// Matrix (0 To ub1, 0 To ub2).
template <class T>
class Matrix {
public:
    Matrix() = default;
    Matrix(long ub1, long ub2) { ReDim(ub1, ub2); }
    void ReDim(long ub1, long ub2) {
        // The bounds change only once the memory is had.
        const long n1 = ub1 < 0 ? 0 : ub1 + 1, n2 = ub2 < 0 ? 0 : ub2 + 1;
        v_.assign(static_cast<std::size_t>(n1) * static_cast<std::size_t>(n2), T{});
        n1_ = n1;
        n2_ = n2;
    }
    long UBound1() const { return n1_ - 1; }
    long UBound2() const { return n2_ - 1; }
    T& operator()(long i, long j) {
        TIVELOR_CHECK_INDEX(i >= 0 && i < n1_ && j >= 0 && j < n2_);
        return v_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n2_) + static_cast<std::size_t>(j)];
    }
    const T& operator()(long i, long j) const {
        TIVELOR_CHECK_INDEX(i >= 0 && i < n1_ && j >= 0 && j < n2_);
        return v_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n2_) + static_cast<std::size_t>(j)];
    }
    void Fill(const T& x) { v_.assign(v_.size(), x); }

private:
    long n1_ = 0, n2_ = 0;
    std::vector<T> v_;
};

// Array (0 To ub1, 0 To ub2, 0 To ub3).
template <class T>
class Array3 {
public:
    Array3() = default;
    Array3(long ub1, long ub2, long ub3) { ReDim(ub1, ub2, ub3); }
    void ReDim(long ub1, long ub2, long ub3) {
        const long n1 = ub1 < 0 ? 0 : ub1 + 1, n2 = ub2 < 0 ? 0 : ub2 + 1, n3 = ub3 < 0 ? 0 : ub3 + 1;
        v_.assign(static_cast<std::size_t>(n1) * static_cast<std::size_t>(n2) * static_cast<std::size_t>(n3), T{});
        n1_ = n1;
        n2_ = n2;
        n3_ = n3;
    }
    long UBound1() const { return n1_ - 1; }
    long UBound2() const { return n2_ - 1; }
    long UBound3() const { return n3_ - 1; }
    T& operator()(long i, long j, long k) {
        TIVELOR_CHECK_INDEX(i >= 0 && i < n1_ && j >= 0 && j < n2_ && k >= 0 && k < n3_);
        return v_[(static_cast<std::size_t>(i) * n2_ + j) * n3_ + k];
    }
    const T& operator()(long i, long j, long k) const {
        TIVELOR_CHECK_INDEX(i >= 0 && i < n1_ && j >= 0 && j < n2_ && k >= 0 && k < n3_);
        return v_[(static_cast<std::size_t>(i) * n2_ + j) * n3_ + k];
    }
    void Fill(const T& x) { v_.assign(v_.size(), x); }

private:
    long n1_ = 0, n2_ = 0, n3_ = 0;
    std::vector<T> v_;
};

}  // namespace platform
