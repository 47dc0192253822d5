// The form both builds' runtime tests load: a label, a fast timer, and counts of what
// happened to it.
#pragma once

#include <functional>
#include <memory>

#include "platform/ProgramError.h"
#include "platform/Runtime.h"

namespace zavi::test {

constexpr TimerDefinition kFastTimer{1, 10};
constexpr LabelDefinition kTestLabel{
    {150, 150, 1500, 300}, "Label", {"Arial", 9.75, 400}, 0x000000FFu, MousePointer::UpArrow};

class TestForm : public Form {
  public:
    TestForm()
        : Form({"VLZaviRadio.TestForm",
                "Test form",
                {1500, 1500, 3000, 1500},
                FormKind::Floating,
                kWhite}) {}
    ~TestForm() override { Unload(); }

    int loads = 0;
    int unloads = 0;
    int ticks = 0;
    bool failOnTick = false;
    std::function<void()> duringLoad;

  protected:
    void CreateControls() override {
        m_label = std::make_unique<Label>(kTestLabel, Dpi());
        AddLabel(*m_label);
        StartTimer(kFastTimer);
    }
    void DestroyControls() override { m_label.reset(); }
    void OnLoad() override {
        ++loads;
        if (duringLoad) {
            duringLoad();
        }
    }
    void OnUnload() override { ++unloads; }
    void OnTimer(unsigned id) override {
        ticks += id == kFastTimer.id ? 1 : 0;
        if (failOnTick) {
            failOnTick = false;
            throw ProgramError("Tick failed");
        }
    }

  private:
    std::unique_ptr<Label> m_label;
};

// A window like the player (framed, in the taskbar) with nothing in it, for the tests that
// look for a running program's window.
constexpr FormDefinition kFramedTestForm{
    "VLZaviRadio.FramedTestForm", "Framed test form", {0, 0, 3000, 1500}, FormKind::Fixed, kWhite};

class FramedTestForm : public Form {
  public:
    FramedTestForm() : Form(kFramedTestForm) {}
    ~FramedTestForm() override { Unload(); }

  protected:
    void CreateControls() override {}
    void DestroyControls() override {}
    void OnTimer(unsigned) override {}
};

}  // namespace zavi::test
