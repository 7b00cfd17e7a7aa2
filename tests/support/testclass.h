#pragma once
// A test's own class with a class record of its own, so that the streaming,
// the registries and the galleries see it under its own name:
//   class TLineLike : public testsupport::TTestClass<TLineLike, TChartSeries, "TLineLike"> {
//   public:
//       using TTestClass::TTestClass;
//   };

#include "platform/core/typinfo.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace testsupport {

template <std::size_t N>
struct ClassName {
    constexpr ClassName(const char (&Name)[N]) { std::copy_n(Name, N, text); }
    constexpr std::string_view View() const { return {text, N - 1}; }
    char text[N];
};

template <class Self, class Base, ClassName Name>
class TTestClass : public Base {
public:
    using Base::Base;
    static const ClassInfo& StaticClass() {
        static const ClassInfo ci = MakeClassInfo<Self>(Name.View(), &Base::StaticClass());
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
};

} // namespace testsupport
