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

}  // namespace zavi::test
