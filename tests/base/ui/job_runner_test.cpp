#include "base/ui/job_runner.h"

#include "base/app_error.h"
#include "support/message_box_answerer.h"

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// Waits on the worker for something the window's thread does; fails rather than hangs.
bool waitFor(const std::atomic_bool& flag) {
    for (int i = 0; i < 500 && !flag; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return flag;
}

class JobRunnerTest : public testing::Test {
protected:
    JobRunnerTest() { runner.showWindow({u"JobProgress"_s, u"確認"_s, u"準備中"_s, u"中止"_s, 0}); }
    QDialog* progressWindow() { return window.findChild<QDialog*>(u"JobProgress"_s); }

    QWidget window;
    JobRunner runner{&window};
};

TEST_F(JobRunnerTest, ShowsStepsAndHandsTheResultBackOnTheWindowsThread) {
    std::atomic_bool seen = false;
    QString label;
    int value = -1;
    bool stepOnWindowThread = false;
    runner.onStep([&](const ProgressStep& step) {
        stepOnWindowThread = QThread::currentThread() == window.thread();
        label = progressWindow()->findChild<QLabel*>()->text();
        value = progressWindow()->findChild<QProgressBar*>()->value();
        if (step.done == 3) seen = true;
    });
    QThread* workThread = nullptr;
    const int result = runner.run([&](const Progress& progress) {
        workThread = QThread::currentThread();
        progress.report({u"写真を読んでいます"_s, 3, 10});
        EXPECT_TRUE(waitFor(seen));
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_NE(workThread, window.thread());
    EXPECT_TRUE(stepOnWindowThread);
    EXPECT_EQ(label, u"写真を読んでいます"_s);
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(progressWindow()->isVisible()) << "the window goes when the work is over";
}

TEST_F(JobRunnerTest, StopThrowsCancelledAtTheNextSafePointKeepingWhatWasDone) {
    // Steps come coalesced when the window is slow: the first one seen at or past 2 stops.
    runner.onStep([&](const ProgressStep& step) {
        if (step.done >= 2) progressWindow()->findChild<QPushButton*>(u"cmdCancel"_s)->click();
    });
    std::atomic_int done = 0;
    EXPECT_THROW(runner.run([&](const Progress& progress) {
        for (int i = 1; i <= 1000; ++i) {
            done = i;
            progress.report({u"コピー"_s, i, 1000});
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }),
                 Cancelled);
    EXPECT_GE(done, 2);
    EXPECT_LT(done, 1000) << "the work ran on after the stop";

    // A stop is for one run: the next one runs to its end.
    runner.onStep({});
    EXPECT_EQ(runner.run([](const Progress& progress) {
        progress.report({{}, 1, 1});
        return 7;
    }),
              7);
}

TEST_F(JobRunnerTest, ClosingTheProgressWindowStopsTheWorkAndWaitsForIt) {
    runner.onStep([&](const ProgressStep&) { progressWindow()->reject(); });
    std::atomic_bool ended = false;
    EXPECT_THROW(runner.run([&](const Progress& progress) {
        progress.report({{}, 1, 2});
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (progress.stopRequested()) break;
        }
        ended = true;
        progress.checkpoint();
    }),
                 Cancelled);
    EXPECT_TRUE(ended) << "run() returned before the work was over";
}

TEST_F(JobRunnerTest, AnErrorOfTheWorkReachesTheWindowWithItsMessage) {
    try {
        runner.run([](const Progress&) { throw AppError(u"写真が呼出せません。"_s); });
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), u"写真が呼出せません。"_s);
    }
}

TEST_F(JobRunnerTest, TheWorkAsksOnTheWindowsThread) {
    bool askedOnWindowThread = false;
    const QString answer = runner.run([&](const Progress&) {
        return runner.onWindow([&] {
            askedOnWindowThread = QThread::currentThread() == window.thread();
            return u"はい"_s;
        });
    });
    EXPECT_EQ(answer, u"はい"_s);
    EXPECT_TRUE(askedOnWindowThread);
}

// The first question comes before the progress window's delay is over and is still open when
// it ends; the second while the progress window is up. A window-modal progress window shown
// over either would block it, and the run would wait for an answer that no click can give.
TEST(JobRunnerQuestion, QuestionsInMidRunAreAnsweredWithTheProgressWindowOutOfTheirWay) {
    QWidget window;
    window.show();
    JobRunner runner(&window);
    runner.showWindow({u"JobProgress"_s, u"確認"_s, u"準備中"_s, u"中止"_s, 150});
    MessageBoxAnswerer user(std::chrono::milliseconds(400));
    user.answers = {QMessageBox::No, QMessageBox::Yes};
    const auto progressShown = [&] {
        const QDialog* progress = window.findChild<QDialog*>(u"JobProgress"_s);
        return progress && progress->isVisible();
    };
    std::atomic_bool progressBack = false;
    runner.onStep([&](const ProgressStep&) { progressBack = progressShown(); });
    QList<bool> progressHidden;
    const auto ask = [&](const QString& text) {
        return runner.onWindow([&] {
            QMessageBox box(QMessageBox::Question, u"確認"_s, text, QMessageBox::Yes | QMessageBox::No,
                            &window);
            const int answer = box.exec();
            progressHidden << !progressShown();
            return answer;
        });
    };
    const auto waitForProgress = [&](const Progress& progress) {
        progressBack = false;
        for (int i = 0; i < 200 && !progressBack; ++i) {
            progress.report({{}, i, 200});
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return bool(progressBack);
    };
    const QList<int> answers = runner.run([&](const Progress& progress) {
        QList<int> given{ask(u"一つ目"_s)};
        EXPECT_TRUE(waitForProgress(progress)) << "the progress window comes back after the question";
        given << ask(u"二つ目"_s);
        EXPECT_TRUE(waitForProgress(progress));
        return given;
    });
    EXPECT_EQ(answers, (QList<int>{QMessageBox::No, QMessageBox::Yes}));
    EXPECT_EQ(user.answered, (QStringList{u"一つ目"_s, u"二つ目"_s}));
    EXPECT_TRUE(user.blocked.isEmpty()) << "a click on a question did not reach it";
    EXPECT_TRUE(user.covered.isEmpty()) << "another window was on top of a question";
    EXPECT_EQ(progressHidden, (QList<bool>{true, true}));
}

TEST_F(JobRunnerTest, AStopBeforeAQuestionEndsTheRunWithoutAskingIt) {
    runner.onStep(
        [&](const ProgressStep&) { progressWindow()->findChild<QPushButton*>(u"cmdCancel"_s)->click(); });
    bool asked = false;
    EXPECT_THROW(runner.run([&](const Progress& progress) {
        progress.tell({{}, 1, 2});
        for (int i = 0; i < 500 && !progress.stopRequested(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return runner.onWindow([&] { return asked = true; });
    }),
                 Cancelled);
    EXPECT_FALSE(asked);
}

TEST(JobRunnerWindow, TheProgressWindowTakesItsWindowsTitleAndMovesWithIt) {
    QWidget window;
    window.setWindowTitle(u"写真帳出力"_s);
    window.setGeometry(100, 100, 400, 300);
    window.show();
    JobRunner runner(&window);
    runner.showWindow({u"JobProgress"_s, {}, u"準備中"_s, u"中止"_s, 0});
    QPoint before;
    runner.onStep([&](const ProgressStep&) {
        before = window.findChild<QDialog*>(u"JobProgress"_s)->pos();
        window.move(window.pos() + QPoint(40, 30));
    });
    runner.run([](const Progress& progress) {
        progress.report({{}, 1, 1});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    });
    const QDialog* progress = window.findChild<QDialog*>(u"JobProgress"_s);
    EXPECT_EQ(progress->windowTitle(), u"写真帳出力"_s);
    EXPECT_EQ(progress->pos(), before + QPoint(40, 30));
}

TEST(JobRunnerButton, TheWindowsStopButtonIsShownForTheRunAndStopsIt) {
    QWidget window;
    auto* stop = new QPushButton(u"中止(&S)"_s, &window);
    stop->hide();
    JobRunner runner(&window);
    runner.useStopButton(stop);
    bool shownDuringRun = false;
    runner.onStep([&](const ProgressStep&) {
        shownDuringRun = !stop->isHidden() && stop->isEnabled();
        stop->click();
    });
    EXPECT_THROW(runner.run([](const Progress& progress) {
        progress.report({{}, 1, 3});
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            progress.checkpoint();
        }
    }),
                 Cancelled);
    EXPECT_TRUE(shownDuringRun);
    EXPECT_TRUE(stop->isHidden());
}

TEST(ProgressContract, APartReportsThroughItsWholeAndStopsWithIt) {
    std::atomic_bool stop = false;
    QList<ProgressStep> told;
    const Progress whole([&](const ProgressStep& step) { told << step; }, &stop);
    const Progress part = whole.mapped([](ProgressStep step) {
        step.done += 100;
        return step;
    });
    part.report({u"a"_s, 5, 200});
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0].done, 105);
    stop = true;
    EXPECT_THROW(part.checkpoint(), Cancelled);
    EXPECT_THROW(whole.report({}), Cancelled) << "the step is told before the stop";
    EXPECT_EQ(told.size(), 2);
    EXPECT_NO_THROW(part.tell({})) << "the end of work that must finish is told, never stopped";
    EXPECT_EQ(told.size(), 3);
    EXPECT_NO_THROW(Progress().report({u"x"_s, 1, 1}));
}

} // namespace
