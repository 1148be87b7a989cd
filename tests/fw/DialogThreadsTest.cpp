// Dialogs and other threads: posts arrive in order on the dialog's thread, controls change from
// a worker while the modal loop reads them, change notes coalesce, and a sort meets concurrent
// inserts. Run under the thread sanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "fw/BackgroundWork.h"
#include "fw/Dialog.h"
#include "fw/HeadlessUiDriver.h"
#include "fw/ListCtrl.h"
#include "fw/UiScript.h"

namespace {

constexpr int kListId = 10;
constexpr int kStatusId = 11;

fw::DialogTemplate ListTemplate() {
  fw::DialogTemplate dialog;
  dialog.cx = 200;
  dialog.cy = 150;
  dialog.caption = L"Threads";
  dialog.controls = {
      fw::ControlTemplate::ListCtrl(kListId, 5, 5, 190, 120, fw::LVS_REPORT | fw::LVS_SINGLESEL),
      fw::ControlTemplate::Label(L"", 5, 130, 190, 8, kStatusId),
  };
  return dialog;
}

// Runs `dialog` modally under a headless driver with `script`; the background counts as idle
// when `idle` says so.
std::vector<std::string> RunModal(fw::Dialog& dialog, const char* script,
                                  std::function<bool()> idle, long* notes = nullptr) {
  fw::HeadlessUiDriver driver;
  driver.AddSteps(fw::ParseUiScript(script).Value());
  fw::SetUiDriver(&driver);
  fw::SetBackgroundIdleCheck(std::move(idle));
  dialog.DoModal();
  fw::SetBackgroundIdleCheck({});
  fw::SetUiDriver(nullptr);
  EXPECT_TRUE(driver.Finish());
  if (notes != nullptr) *notes = driver.ChangeNotesTaken();
  return driver.Transcript();
}

TEST(DialogThreads, PostsFromSeveralThreadsArriveInOrderOnTheDialogsThread) {
  constexpr int kThreads = 4;
  constexpr int kPosts = 300;
  fw::Dialog dialog(ListTemplate());
  std::vector<int> delivered;
  std::thread::id dialogThread;
  bool wrongThread = false;
  for (int thread = 0; thread < kThreads; ++thread) {
    for (int post = 0; post < kPosts; ++post) {
      int id = 1000 * (thread + 1) + post;
      dialog.On(id, fw::Event::kCommand, [&, id] {
        wrongThread |= std::this_thread::get_id() != dialogThread;
        delivered.push_back(id);
      });
    }
  }
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  // The workers start once the dialog is shown; the last to finish ends the dialog by a post.
  dialog.On(500, fw::Event::kCommand, [&] {
    dialogThread = std::this_thread::get_id();
    fw::DialogHandle handle = dialog.Handle();
    for (int thread = 0; thread < kThreads; ++thread) {
      workers.emplace_back([&, handle, thread] {
        for (int post = 0; post < kPosts; ++post) handle.PostCommand(1000 * (thread + 1) + post);
        if (++finished == kThreads) handle.EndDialog(7);
      });
    }
  });
  dialog.On(fw::kDialogId, fw::Event::kHelp, [&] { dialog.PostCommand(500); });
  fw::HeadlessUiDriver driver;
  // The answer waits for the question after the dialog, so the loop waits for the posts.
  driver.AddSteps(fw::ParseUiScript("key 10 F1\nanswer message OK").Value());
  fw::SetUiDriver(&driver);
  int code = dialog.DoModal();
  fw::AfxMessageBox(L"Done.");
  fw::SetUiDriver(nullptr);
  for (std::thread& worker : workers) worker.join();
  EXPECT_TRUE(driver.Finish());

  // The end was posted after every command, so all of them came first, each thread's in order.
  EXPECT_EQ(code, 7);
  EXPECT_FALSE(wrongThread);
  ASSERT_EQ(delivered.size(), static_cast<std::size_t>(kThreads * kPosts));
  std::map<int, int> lastPerThread;
  for (int id : delivered) {
    int thread = id / 1000;
    auto last = lastPerThread.find(thread);
    if (last != lastPerThread.end()) {
      EXPECT_LT(last->second, id);
    }
    lastPerThread[thread] = id;
  }
}

TEST(DialogThreads, AWorkerFillsTheListWhileTheModalLoopReadsItAndNotesCoalesce) {
  constexpr int kItems = 3000;
  fw::Dialog dialog(ListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  list.InsertColumn(0, L"Name", fw::LVCFMT_LEFT, 100);
  list.InsertColumn(1, L"Size", fw::LVCFMT_LEFT, 60);
  std::atomic<bool> done{false};
  std::thread::id dialogThread;
  int selectedOnDialogThread = 0;
  std::thread worker;
  dialog.On(kListId, fw::Event::kItemChanged, [&](fw::Notify& notify) {
    if (std::this_thread::get_id() == dialogThread && (notify.newState & fw::LVIS_SELECTED) != 0) {
      ++selectedOnDialogThread;
    }
  });
  dialog.On(kListId, fw::Event::kKey, [&](fw::Notify& notify) {
    notify.handled = true;
    dialogThread = std::this_thread::get_id();
    worker = std::thread([&] {
      for (int at = 0; at < kItems; ++at) {
        int position = list.InsertItem(list.GetItemCount(), L"Block " + std::to_wstring(at));
        list.SetItemText(position, 1, std::to_wstring(at * 10));
        list.SetItemData(position, static_cast<fw::ItemData>(at));
        if (at % 500 == 0) {
          // Selected from the worker: the notification is posted to the dialog's thread.
          list.SetItemState(position, fw::LVIS_SELECTED, fw::LVIS_SELECTED);
          dialog.SetDlgItemText(kStatusId, L"loaded " + std::to_wstring(at));
        }
      }
      done = true;
    });
  });
  long notes = 0;
  std::vector<std::string> transcript =
      RunModal(dialog,
               "key 10 Enter\ndump 11\ndump 11\ndump 11\ndump 11\ndump 11\nwait-idle\ndump 11",
               [&] { return done.load(); }, &notes);
  worker.join();

  EXPECT_EQ(list.GetItemCount(), kItems);
  EXPECT_EQ(list.GetSelectedCount(), 1);
  EXPECT_EQ(list.GetItemData(list.GetNextItem(-1, fw::LVNI_SELECTED)), 2500u);
  EXPECT_EQ(selectedOnDialogThread, kItems / 500);
  ASSERT_GE(transcript.size(), 3u);
  EXPECT_EQ(transcript[transcript.size() - 2], "ui: 11 \"loaded 2500\" enabled visible");
  // Over ten thousand changes reached the presenter as a few notes.
  EXPECT_GT(notes, 0);
  EXPECT_LT(notes, 1000);
}

TEST(DialogThreads, ASortKeepsEveryItemThatAnotherThreadAddsMeanwhile) {
  constexpr int kItems = 20000;
  fw::Dialog dialog(ListTemplate());
  auto& list = dialog.Item<fw::ListCtrl>(kListId);
  std::atomic<bool> done{false};
  std::thread adder([&] {
    for (int at = 0; at < kItems; ++at) {
      fw::ListItem item;
      item.texts = {L"x"};
      item.data = static_cast<fw::ItemData>(at);
      list.InsertItem(list.GetItemCount(), std::move(item));
    }
    done = true;
  });
  while (!done) {
    list.SortItemsByKey([](fw::ItemData data) { return -static_cast<std::int64_t>(data); });
  }
  adder.join();
  list.SortItemsByKey([](fw::ItemData data) { return static_cast<std::int64_t>(data); });
  std::vector<fw::ItemData> seen;
  for (int at = 0; at < list.GetItemCount(); ++at) seen.push_back(list.GetItemData(at));
  std::vector<fw::ItemData> expected;
  for (int at = 0; at < kItems; ++at) expected.push_back(static_cast<fw::ItemData>(at));
  EXPECT_EQ(seen, expected);
}

}  // namespace
