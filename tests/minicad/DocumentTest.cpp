// Documents: numbering, opening, closing, activating, locks, and the built-in file commands.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "HostTestSupport.h"
#include "minicad/Host.h"

namespace minicadtest {
namespace {

using Strings = std::vector<std::wstring>;

Strings IteratedFileNames() {
  Strings names;
  std::unique_ptr<AcApDocumentIterator> documents(acDocManager->newAcApDocumentIterator());
  for (; !documents->done(); documents->step()) names.push_back(documents->document()->fileName());
  return names;
}

class DocumentTest : public HostTest {};

// A document no document manager knows.
class StrangerDocument : public AcApDocument {
 public:
  const ACHAR* fileName() const override { return L"stranger.dwg"; }
  const ACHAR* docTitle() const override { return L"stranger"; }
};

TEST_F(DocumentTest, NewDrawingsAreNumberedForTheWholeSession) {
  minicad::Host host;
  AcApDocument* first = host.ActiveDocument();
  AcApDocument* second = host.NewDocument();
  EXPECT_STREQ(first->fileName(), L"Drawing1.dwg");
  EXPECT_STREQ(first->docTitle(), L"Drawing1");
  EXPECT_STREQ(second->fileName(), L"Drawing2.dwg");

  host.RunScriptText(L"CLOSE\nNEW\n");

  EXPECT_EQ(IteratedFileNames(), (Strings{L"Drawing1.dwg", L"Drawing3.dwg"}));
}

TEST_F(DocumentTest, AnOpenedDrawingHasItsAbsolutePathAndItsTitle) {
  minicad::Host host;
  std::wstring drawing = MakeDrawing(L"Site Plan.dwg");

  minicad::Result<AcApDocument*> opened = host.OpenDocument(drawing);

  ASSERT_TRUE(opened.Ok()) << opened.Message();
  EXPECT_EQ(opened.Value()->fileName(), drawing);
  EXPECT_STREQ(opened.Value()->docTitle(), L"Site Plan");
  EXPECT_EQ(host.ActiveDocument(), opened.Value());
}

TEST_F(DocumentTest, ADrawingIsFoundWhateverTheCaseOfItsExtension) {
  minicad::Host host;
  std::wstring drawing = MakeDrawing(L"Plan.DWG");

  minicad::Result<AcApDocument*> withoutExtension = host.OpenDocument(folder_ / L"Plan");
  minicad::Result<AcApDocument*> otherCase = host.OpenDocument(folder_ / L"plan.dwg");

  ASSERT_TRUE(withoutExtension.Ok()) << withoutExtension.Message();
  EXPECT_EQ(withoutExtension.Value()->fileName(), drawing);
  ASSERT_TRUE(otherCase.Ok()) << otherCase.Message();
  EXPECT_EQ(otherCase.Value()->fileName(), drawing);
}

TEST_F(DocumentTest, OpeningWhatIsNoDrawingFileFailsWithTheHostsErrorLine) {
  minicad::HostOptions options;
  options.startWithNewDrawing = false;
  minicad::Host host(options);
  std::wstring missing = folder_ / L"missing.dwg";
  MakeDrawing(L"notes.txt");

  minicad::Result<AcApDocument*> opened = host.OpenDocument(missing);

  EXPECT_FALSE(opened.Ok());
  EXPECT_EQ(opened.Message(), L"Cannot find the drawing file \"" + missing + L"\".");
  EXPECT_FALSE(host.OpenDocument(folder_.Path()).Ok());
  EXPECT_FALSE(host.OpenDocument(folder_ / L"notes").Ok());
  EXPECT_FALSE(host.OpenDocument(L"").Ok());
  EXPECT_TRUE(host.Documents().empty());
}

TEST_F(DocumentTest, TheIteratorWalksTheDocumentsInOpeningOrder) {
  minicad::Host host;
  std::wstring drawing = MakeDrawing(L"a.dwg");
  ASSERT_TRUE(host.OpenDocument(drawing).Ok());
  host.NewDocument();
  acDocManager->activateDocument(host.Documents()[0]);

  EXPECT_EQ(IteratedFileNames(), (Strings{L"Drawing1.dwg", drawing, L"Drawing2.dwg"}));
  EXPECT_EQ(acDocManager->documentCount(), 3);
}

TEST_F(DocumentTest, ClosingTheActiveDrawingActivatesTheLastOpenedOne) {
  minicad::Host host;
  AcApDocument* first = host.ActiveDocument();
  AcApDocument* second = host.NewDocument();
  AcApDocument* third = host.NewDocument();
  acDocManager->activateDocument(second);
  EXPECT_EQ(acDocManager->mdiActiveDocument(), second);

  host.RunScriptText(L"CLOSE\n");
  EXPECT_EQ(host.ActiveDocument(), third);
  host.RunScriptText(L"CLOSE\n");
  EXPECT_EQ(host.ActiveDocument(), first);
  host.RunScriptText(L"CLOSE\n");
  EXPECT_EQ(host.ActiveDocument(), nullptr);
  EXPECT_EQ(acDocManager->curDocument(), nullptr);
}

TEST_F(DocumentTest, CloseWithoutADrawingFails) {
  minicad::HostOptions options;
  options.startWithNewDrawing = false;
  minicad::Host host(options);
  RecordingReactor reactor;
  acedEditor->addReactor(&reactor);

  host.RunScriptText(L"CLOSE\n");

  EXPECT_EQ(host.ConsoleText(), L"Command: CLOSE\nNo drawing is open.\n");
  EXPECT_EQ(Events(), (Strings{L"willStart CLOSE", L"failed CLOSE"}));
  acedEditor->removeReactor(&reactor);
}

TEST_F(DocumentTest, CallsAboutADocumentThatIsNotOpenAreRefused) {
  minicad::Host host;
  AcApDocument* document = host.ActiveDocument();
  StrangerDocument strangerDocument;
  AcApDocument* stranger = &strangerDocument;

  EXPECT_EQ(acDocManager->activateDocument(stranger), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->activateDocument(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->sendStringToExecute(stranger, L"NEW\n"), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->sendStringToExecute(document, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->lockDocument(stranger), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->unlockDocument(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(acDocManager->appContextOpenDocument(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(host.LockCount(stranger), -1);
}

TEST_F(DocumentTest, LocksAreCountedPerDocument) {
  minicad::Host host;
  AcApDocument* first = host.ActiveDocument();
  AcApDocument* second = host.NewDocument();

  EXPECT_EQ(acDocManager->lockDocument(first), Acad::eOk);
  EXPECT_EQ(acDocManager->lockDocument(first, AcAp::kRead), Acad::eOk);
  EXPECT_EQ(acDocManager->lockDocument(second), Acad::eOk);
  EXPECT_EQ(acDocManager->unlockDocument(second), Acad::eOk);

  EXPECT_EQ(host.LockCount(first), 2);
  EXPECT_EQ(host.LockCount(second), 0);
  EXPECT_EQ(acDocManager->unlockDocument(second), Acad::eNotApplicable);
}

TEST_F(DocumentTest, ResourceHandlePushesAndPopsAreCounted) {
  minicad::Host host;
  acDocManager->pushAcadResourceHandle();
  acDocManager->pushAcadResourceHandle();
  acDocManager->popResourceHandle();
  EXPECT_EQ(host.ResourceHandleDepth(), 1);
  acDocManager->popResourceHandle();
  acDocManager->popResourceHandle();
  EXPECT_EQ(host.ResourceHandleDepth(), 0);
}

TEST_F(DocumentTest, QuitEndsTheSessionAndClosesEveryDrawing) {
  minicad::Host host;
  host.NewDocument();

  EXPECT_TRUE(host.RunScriptText(L"QUIT\nNEW\n"));

  EXPECT_TRUE(host.HasQuit());
  EXPECT_TRUE(host.Documents().empty());
  EXPECT_EQ(host.ConsoleText(), L"Command: QUIT\n");
  EXPECT_FALSE(host.RunScriptText(L"NEW\n"));
  EXPECT_TRUE(host.Documents().empty());
}

}  // namespace
}  // namespace minicadtest
