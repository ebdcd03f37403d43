// Work arrays made before a run changes anything, and what the user is told
// when there is not enough memory for them.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/arrays.h"

namespace tivelor {

class App;

// Tells the user that the arrays of `what` ("this data set", "this Simplex
// minimization") do not fit in memory.
void TellNotEnoughMemory(App& app, const std::string& what, const std::string& title);

// New sizes for a set of arrays, all made before any array is replaced:
//     ArraySizes sizes;
//     sizes.Set(eng.HessMat, n, n);
//     if (!sizes.Commit()) ...   // not enough memory; no array changed
// Commit gives every array its new size at once and cannot fail itself.
class ArraySizes {
public:
    // The array (0 To ub, ...) cleared, as ReDim leaves it.
    template <class A, class... Ub>
    void Set(A& a, Ub... ub) {
        Make(a, Mode::Clear, static_cast<long>(ub)...);
    }
    // The array (0 To ub, ...); one that has these bounds already is left as
    // it is.
    template <class A, class... Ub>
    void Fit(A& a, Ub... ub) {
        Make(a, Mode::Fit, static_cast<long>(ub)...);
    }
    // The array at least (0 To ub, ...); one large enough is left as it is.
    template <class A, class... Ub>
    void AtLeast(A& a, Ub... ub) {
        Make(a, Mode::Grow, static_cast<long>(ub)...);
    }
    // Done at Commit, after the arrays have their sizes.
    void Then(std::function<void()> f);

    // Whether every array could be made so far.
    bool Made() const { return !failed_; }
    // Every array takes its new size; false, with nothing changed, when
    // memory ran out.
    bool Commit();

private:
    template <class T>
    static std::array<long, 1> Bounds(const platform::Vec<T>& a) { return {a.UBound()}; }
    template <class T>
    static std::array<long, 2> Bounds(const platform::Matrix<T>& a) { return {a.UBound1(), a.UBound2()}; }
    template <class T>
    static std::array<long, 3> Bounds(const platform::Array3<T>& a) {
        return {a.UBound1(), a.UBound2(), a.UBound3()};
    }

    enum class Mode { Clear, Fit, Grow };

    template <class A, class... Ub>
    void Make(A& a, Mode mode, Ub... ub) {
        if (failed_) return;
        try {
            const auto have = Bounds(a);
            const std::array<long, sizeof...(Ub)> want{(ub < 0 ? -1 : ub)...};
            bool same = true, enough = true;
            for (std::size_t k = 0; k < want.size(); ++k) {
                same = same && have[k] == want[k];
                enough = enough && have[k] >= want[k];
            }
            if ((mode == Mode::Grow && enough) || (mode == Mode::Fit && same)) return;
            if (same) {
                // Cleared in place: no new memory.
                steps_.emplace_back([&a] { a.Fill(std::remove_cvref_t<decltype(a(Ub{}...))>{}); });
                return;
            }
            auto fresh = std::make_shared<A>(ub...);
            steps_.emplace_back([&a, fresh] { a = std::move(*fresh); });
        } catch (const std::bad_alloc&) {
            failed_ = true;
        } catch (const std::length_error&) {
            failed_ = true;
        }
    }

    std::vector<std::function<void()>> steps_;
    bool failed_ = false;
};

}  // namespace tivelor
