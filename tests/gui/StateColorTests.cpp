// Colour sets and their fading, and the default look of the controls.
#include "gui/CGuiStateColor.h"
#include "gui/DefaultElementTable.h"

#include <doctest/doctest.h>

#include <cmath>
#include <set>
#include <utility>

TEST_SUITE("gui") {

TEST_CASE("StateColor: a new colour at 60 frames per second is 10.6 % of the way after one frame") {
    CGuiStateColor color;
    color.Init(0xFFFFFFFF);
    color.Blend(ControlState::Normal, 1.0f / 60.0f, 0.8f);
    const float expected = 1.0f - std::pow(0.8f, 0.5f);
    CHECK(color.current[3] == doctest::Approx(expected).epsilon(1e-4));
    CHECK(color.current[3] == doctest::Approx(0.1056).epsilon(1e-3));
    CHECK((color.Current() >> 24) == 27u); // 0.1056 * 255 rounded
}

TEST_CASE("StateColor: no time leaves the colour; rate 0 jumps at once") {
    CGuiStateColor color;
    color.Init(0xFF336699);
    color.Blend(ControlState::Normal, 0.0f, 0.0f);
    CHECK(color.Current() == 0);
    color.Blend(ControlState::Normal, -1.0f, 0.0f);
    CHECK(color.Current() == 0);
    color.Blend(ControlState::Normal, 0.001f, 0.0f);
    CHECK(color.Current() == 0xFF336699);
    color.Blend(ControlState::Disabled, 1000.0f, 0.7f);
    CHECK(color.Current() == 0xC8808080);
}

TEST_CASE("StateColor: channels convert with clamping and rounding") {
    CHECK(ChannelToByte(1.5f) == 255);
    CHECK(ChannelToByte(1.0f) == 255);
    CHECK(ChannelToByte(0.0f) == 0);
    CHECK(ChannelToByte(-0.2f) == 0);
    CHECK(ChannelToByte(0.5f) == 128);
    CHECK(ChannelToByte(std::nanf("")) == 0);
}

TEST_CASE("DefaultElements: one row per type and index, in registration order") {
    std::set<std::pair<ControlType, UINT>> seen;
    size_t comboRows = 0;
    for (const DefaultElementRow& row : DefaultElementRows()) {
        CHECK(seen.insert({row.type, row.index}).second);
        comboRows += row.type == ControlType::ComboBox ? 1 : 0;
        // Every element is invisible when hidden, so every control fades in.
        CHECK(row.textureColors[2] == 0);
        CHECK(row.fontColors[2] == 0);
    }
    CHECK(seen.size() == 38);
    CHECK(comboRows == 4);
    const auto rows = DefaultElementRows();
    CHECK(rows.front().type == ControlType::Static);
    CHECK(rows.back().type == ControlType::ListBox);
    CHECK(rows[9].textureRect.left == 13); // the combo box's list
    CHECK(rows[9].textureRect.bottom == 160);
}

} // TEST_SUITE
