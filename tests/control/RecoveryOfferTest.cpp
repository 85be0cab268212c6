#include "control/RecoveryOffer.h"
#include "platform/fakes/FakeSettingsStore.h"
#include "save/CodecCatalogue.h"
#include "tests/engine/LeftSession.h"
#include "tests/save/FakeSaveAsWindows.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace sorvella::test {
namespace {

class ScriptedChoice : public RecoveryChoiceView {
public:
    explicit ScriptedChoice(Choice answer) : m_answer(answer) {}
    Choice choose(const std::string& text) override
    {
        texts.push_back(text);
        return m_answer;
    }
    std::vector<std::string> texts;

private:
    Choice m_answer;
};

struct KeptStores : SaveStarter, EditorOpener {
    void startSave(std::unique_ptr<RingStore>& store, const SaveTarget& target,
                   const BlockFilter*) override
    {
        saved = std::move(store);
        savedTo = target.fileName;
    }
    void openEditor(std::unique_ptr<RingStore> store) override { edited = std::move(store); }
    std::unique_ptr<RingStore> saved;
    std::string savedTo;
    std::unique_ptr<RingStore> edited;
};

using Choice = RecoveryChoiceView::Choice;

struct OfferCase {
    const char* name;
    Choice choice;
    bool fileChosen;
    bool saved;
    bool edited;
    bool filesKept;
};

class RecoveryOfferTest : public ::testing::TestWithParam<OfferCase> {};

TEST_P(RecoveryOfferTest, TheUsersChoiceDecidesAndNothingElseDeletes)
{
    const OfferCase& c = GetParam();
    StoreFixture f;
    const std::string dir = (f.base.path() / "Quillet-9").string();
    makeLeftDirectory(dir, LeftCase{"", journalOf(kAll)});
    f.settings.target.fileName = (f.base.path() / "take-%h%m.wav").string();
    FakeSettingsStore settingsStore;
    CodecCatalogue catalogue{settingsStore, {}};
    FakeSaveAsWindows saveAs;
    if (c.fileChosen) {
        saveAs.fileChoices.push_back(
            SaveFileDialog::Choice{(f.base.path() / "chosen.wav").string(), 0});
    }
    KeptStores stores;
    ScriptedChoice view(c.choice);
    FakePrompter prompter;
    {
        CrashRecovery recovery(f.settings, f.session, {});
        recovery.scan();
        RecoveryOffer offer(
            {f.settings, catalogue, saveAs.windows(), stores, stores, view, prompter});
        offer.offer(recovery);
    }
    ASSERT_EQ(view.texts.size(), 1u);
    EXPECT_EQ(view.texts[0].rfind("Sorvella found a recording of 0:10 from ", 0), 0u);
    EXPECT_NE(view.texts[0].find(" that was not saved when Sorvella last ended."),
              std::string::npos);
    EXPECT_EQ(stores.saved != nullptr, c.saved);
    EXPECT_EQ(stores.edited != nullptr, c.edited);
    if (c.edited) { // the editor draws the recovered sound, not a flat line
        const auto& overview = stores.edited->block(1).overview();
        EXPECT_GT(*std::max_element(overview.begin(), overview.end()), 0);
    }
    if (c.saved) {
        EXPECT_EQ(stores.savedTo, (f.base.path() / "chosen.wav").string());
        EXPECT_EQ(stores.saved->heldBytes(), 3 * StoreBlock::kSize + StoreBlock::kSize / 2);
    }
    EXPECT_EQ(std::filesystem::exists(dir + "/0/" + TempSession::fileNameFor(2)), c.filesKept);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, RecoveryOfferTest,
    ::testing::Values(OfferCase{"Save", Choice::Save, true, true, false, true},
                      OfferCase{"SaveButNoFileChosen", Choice::Save, false, false, false, true},
                      OfferCase{"OpenInEditor", Choice::OpenInEditor, false, false, true, true},
                      OfferCase{"KeepForLater", Choice::KeepForLater, false, false, false, true},
                      OfferCase{"Discard", Choice::Discard, false, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace sorvella::test
