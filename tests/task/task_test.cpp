#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "task/task.h"
#include "task/task_state.h"

// Each callback logs the task's id, kept in its count field.
static std::string updates, draws;
static void U(Task* t) { updates += static_cast<char>(t->count); }
static void D(Task* t) { draws += static_cast<char>(t->count); }

static Task* victim;
static void KillSelfAndVictim(Task* t) { U(t); KillTask(t); KillTask(victim); }
static void SpawnOnce(Task* t) {
  U(t);
  t->update = U;
  CreateTask(U, D)->count = 'N';
}

// Gives its own task a child 'c' and the task in victim a child 'v', once.
static void AdoptOnce(Task* t) {
  U(t);
  t->update = U;
  CreateChildTask(t, U, D)->count = 'c';
  CreateChildTask(victim, U, D)->count = 'v';
}

class TaskTest : public ::testing::Test {
 protected:
  void SetUp() override { InitTask(); updates.clear(); draws.clear(); }
  static Task* Make(char id, TaskProc update = U) {
    Task* t = CreateTask(update, D);
    t->count = id;
    return t;
  }
  static int FreeCount() {
    int n = 0;
    while (!IsTaskNull(CreateTask(nullptr, nullptr))) ++n;
    return n;
  }
};

TEST_F(TaskTest, EmptyTreeAndReinit) {
  EXPECT_EQ(0, UpdateTask());
  EXPECT_EQ(0, DrawTask());
  Task* kept = Make('A');
  InitTask();
  EXPECT_EQ(&NullTask, CreateChildTask(kept, U, D));  // a record from before is free
  EXPECT_EQ(0, UpdateTask());
  EXPECT_EQ(0, UpdateTaskPostOrder());
  EXPECT_EQ("", updates + draws);
  EXPECT_EQ(8192, FreeCount());  // the size games are promised
  NullTask = {TASK_DEAD, &NullTask + 1, nullptr};  // a game wrote over the end mark
  InitTask();
  EXPECT_TRUE(NullTask.flags == 0 && NullTask.child == &NullTask && NullTask.next == &NullTask);
}

TEST_F(TaskTest, NewestTopLevelTaskRunsFirst) {
  Make('A');
  Make('B');
  Make('C');
  EXPECT_EQ(3, UpdateTask());
  EXPECT_EQ(3, DrawTask());
  EXPECT_EQ("CBA", updates);
  EXPECT_EQ("CBA", draws);
}

TEST_F(TaskTest, ChildChainLinkedByHand) {
  Make('2');
  Task* c1 = Make('1');
  Task* s = Make('S');
  Task* p = Make('P');
  p->child = s->next;  // top level was P S 1 2: move 1 2 under P
  s->next = &NullTask;
  Task g = {0, &NullTask, &NullTask, U, D, 0, 0, 0, 0, 'g', 0, nullptr};  // the game's own record
  c1->child = &g;
  EXPECT_EQ(2, UpdateTask());
  EXPECT_EQ("P1g2S", updates);
  EXPECT_EQ(5, DrawTask());
  EXPECT_EQ("g12PS", draws);
  updates.clear();
  EXPECT_EQ(5, UpdateTaskPostOrder());
  EXPECT_EQ("g12PS", updates);
}

TEST_F(TaskTest, KilledTaskRunsOnUntilTheNextSweep) {
  victim = Make('A');
  Task* b = Make('B', KillSelfAndVictim);
  Make('C');
  EXPECT_EQ(3, UpdateTask());
  EXPECT_EQ(3, DrawTask());
  EXPECT_EQ("CBA", updates);
  EXPECT_EQ("CBA", draws);
  EXPECT_EQ(b, KillTask(b));
  EXPECT_EQ(TASK_DEAD, b->flags);
  SweepTask();
  updates.clear();
  EXPECT_EQ(1, UpdateTask());
  EXPECT_EQ("C", updates);
}

TEST_F(TaskTest, SweepKeepsOrderAndReusesLastFreedFirst) {
  Make('A');
  Task* b = Make('B');
  Task* c = Make('C');
  b->kind = 7, b->user = &updates;  // the game's type and data go with the record
  KillTask(c), KillTask(b);  // dead at the head of the chain
  SweepTask();
  EXPECT_EQ(1, UpdateTask());
  EXPECT_NE(0u, IsTaskDead(b));  // the mark stays until reuse
  EXPECT_EQ(b, CreateTask(U, D));
  EXPECT_EQ(c, CreateTask(U, D));
  EXPECT_EQ(0u, IsTaskDead(b));
  EXPECT_TRUE(b->kind == 0 && b->user == nullptr);

  InitTask();
  updates.clear();
  Make('A');
  b = Make('B');
  Make('C');
  Task* d = Make('D');
  Make('E');
  KillTask(b), KillTask(d);  // dead in the middle: chain E D C B A
  SweepTask();
  EXPECT_EQ(3, UpdateTask());
  EXPECT_EQ("ECA", updates);
  EXPECT_EQ(b, CreateTask(U, D));
  EXPECT_EQ(d, CreateTask(U, D));
}

// Sweeps along the list the last sweep left: a dead task in a listed stretch, one
// heading children, a dead child under a listed parent, and a chain relinked by
// hand around the list.
TEST_F(TaskTest, SweepsFollowTheirListAndTheLinksWhereTheyDiffer) {
  Task* t[5];
  for (int i = 0; i < 5; ++i) t[i] = Make(static_cast<char>('A' + i));  // chain E D C B A
  SweepTask(), KillTask(t[1]), SweepTask(), UpdateTask();
  EXPECT_EQ("EDCA", updates);

  InitTask(), updates.clear();
  Make('A');
  Task* b = Make('B');
  CreateChildTask(b, U, D)->count = 'b';
  Make('C');
  SweepTask(), KillTask(b), SweepTask(), UpdateTask();  // its child goes with it
  EXPECT_EQ("CA", updates);
  EXPECT_EQ(TASK_POOL_SIZE - 2, FreeCount());

  InitTask(), updates.clear();
  Task* p = Make('P');
  Task* dying = CreateChildTask(p, U, D);
  CreateChildTask(p, U, D)->count = 'y';
  Make('Q');
  SweepTask(), KillTask(dying), SweepTask(), UpdateTask();
  EXPECT_EQ("QPy", updates);

  // A list shorter than the one its buffer held two sweeps ago ends where it ends:
  // the records past it are freed ones.
  InitTask(), updates.clear();
  for (int i = 0; i < 4; ++i) t[i] = Make(static_cast<char>('A' + i));
  SweepTask(), SweepTask(), KillTask(t[0]), KillTask(t[1]), SweepTask(), SweepTask();
  EXPECT_EQ(2, UpdateTask());
  EXPECT_EQ("DC", updates);
  EXPECT_EQ(TASK_POOL_SIZE - 2, FreeCount());

  InitTask(), updates.clear();
  for (int i = 0; i < 5; ++i) t[i] = Make(static_cast<char>('A' + i));
  SweepTask();
  t[3]->next = t[1], KillTask(t[1]);  // E D B A: C left out by hand, B dead
  UpdateTask();
  EXPECT_EQ("EDBA", updates);
  SweepTask(), updates.clear();
  EXPECT_EQ(3, UpdateTask());
  EXPECT_EQ("EDA", updates);
}

TEST_F(TaskTest, ExhaustedPoolReturnsNullTaskAndChangesNothing) {
  Task* parent = CreateTask(nullptr, nullptr);
  Task* child = CreateChildTask(parent, nullptr, nullptr);
  std::set<Task*> all = {parent, child};
  for (int i = 2; i < TASK_POOL_SIZE; ++i) all.insert(CreateTask(nullptr, nullptr));
  EXPECT_EQ(size_t{TASK_POOL_SIZE}, all.size());
  EXPECT_EQ(0u, all.count(&NullTask));
  Task* extra = CreateTask(U, D);
  EXPECT_EQ(&NullTask, extra);
  EXPECT_EQ(1, IsTaskNull(extra));
  EXPECT_EQ(&NullTask, CreateChildTask(parent, U, D));
  EXPECT_EQ(child, parent->child);
  EXPECT_EQ(&NullTask, NullTask.next);
  EXPECT_EQ(&NullTask, NullTask.child);
  EXPECT_EQ(TASK_POOL_SIZE - 1, UpdateTask());
  Task* some = *all.begin();
  KillTask(some);
  SweepTask();
  EXPECT_EQ(some, CreateTask(nullptr, nullptr));
}

TEST_F(TaskTest, TaskCreatedDuringUpdateIsDrawnButNotUpdated) {
  Make('A', SpawnOnce);
  EXPECT_EQ(1, UpdateTask());
  EXPECT_EQ(2, DrawTask());
  EXPECT_EQ("A", updates);
  EXPECT_EQ("NA", draws);
}

// A child made during a pass, under the running task or under one still ahead,
// waits for the next pass; a freed record cannot become a parent.
TEST_F(TaskTest, ChildCreatedDuringUpdateWaitsForTheNextPass) {
  victim = Make('L');
  CreateChildTask(victim, U, D)->count = 'o';
  Task* a = Make('A', AdoptOnce);
  EXPECT_EQ(2, UpdateTask());
  EXPECT_EQ(5, DrawTask());
  UpdateTask();
  EXPECT_EQ("ALo" "AcLvo", updates);
  updates.clear();
  a->update = AdoptOnce;  // children after their parent: only L's new one is ahead
  UpdateTaskPostOrder();
  EXPECT_EQ("cAvoL", updates);
  KillTask(victim);
  SweepTask();
  EXPECT_EQ(&NullTask, CreateChildTask(victim, U, D));
}

TEST_F(TaskTest, NullTaskAndNullPointersAreTolerated) {
  EXPECT_EQ(0, IsTaskNull(nullptr));
  EXPECT_EQ(0u, IsTaskDead(nullptr));
  EXPECT_EQ(nullptr, KillTask(nullptr));
  EXPECT_EQ(&NullTask, KillTask(&NullTask));
  EXPECT_EQ(0u, NullTask.flags);
  EXPECT_EQ(0u, IsTaskDead(&NullTask));
  EXPECT_EQ(&NullTask, CreateChildTask(nullptr, U, D));
  EXPECT_EQ(&NullTask, CreateChildTask(&NullTask, U, D));
  Task* t = CreateTask(nullptr, nullptr);  // no callbacks: visited, nothing called
  t->child = nullptr;                       // a null link ends a chain
  EXPECT_EQ(1, UpdateTask());
  EXPECT_EQ(1, DrawTask());
  SweepTask();
  EXPECT_EQ(1, UpdateTask());
}

TEST_F(TaskTest, ChildrenAreSweptAndGoWithTheirParent) {
  Task* p = Make('P');
  Task* c1 = CreateChildTask(p, U, D);
  Task* c2 = CreateChildTask(p, U, D);
  c1->count = '1', c2->count = '2';
  CreateChildTask(c1, U, D)->count = 'g';
  EXPECT_EQ(1, UpdateTask());
  EXPECT_EQ("P21g", updates);
  EXPECT_EQ(4, DrawTask());
  EXPECT_EQ("2g1P", draws);
  KillTask(c2);
  SweepTask();
  updates.clear();
  UpdateTask();
  EXPECT_EQ("P1g", updates);
  EXPECT_EQ(c2, CreateTask(nullptr, nullptr));
  CreateChildTask(p, U, D);
  KillTask(p);  // takes its live children (two) along, freed before it
  SweepTask();
  EXPECT_NE(0u, IsTaskDead(c1));
  EXPECT_EQ(p, CreateTask(nullptr, nullptr));
  EXPECT_EQ(TASK_POOL_SIZE - 2, FreeCount());
}

// Run under the sanitizers: a recursive sweep would go 8192 frames deep here.
TEST_F(TaskTest, LongChainsSweepWithoutDeepRecursion) {
  Task* last = CreateTask(nullptr, nullptr);
  for (int i = 1; i < TASK_POOL_SIZE; ++i) KillTask(CreateTask(nullptr, nullptr));
  SweepTask();
  EXPECT_EQ(1, UpdateTask());
  EXPECT_EQ(0u, IsTaskDead(last));
  EXPECT_EQ(TASK_POOL_SIZE - 1, FreeCount());

  InitTask();
  Task* top = CreateTask(nullptr, nullptr);
  Task* deepest = top;
  for (int i = 1; i < TASK_POOL_SIZE; ++i) deepest = CreateChildTask(deepest, nullptr, nullptr);
  ASSERT_EQ(0, IsTaskNull(deepest));
  KillTask(deepest);
  SweepTask();
  EXPECT_EQ(deepest, CreateTask(nullptr, nullptr));
  KillTask(top);
  SweepTask();
  EXPECT_EQ(TASK_POOL_SIZE - 1, FreeCount());
}

// The pool's first record is no exception: a child made in it during a pass waits.
TEST_F(TaskTest, ChildMadeInTheFirstRecordWaitsForTheNextPass) {
  Task* first = Make('0');
  victim = Make('P', AdoptOnce);
  KillTask(first);
  SweepTask();
  UpdateTask();
  EXPECT_EQ(first, victim->child->next);  // 'c', in the first record
  EXPECT_EQ("P", updates);
}

// A game's own record (a static, like most) under a dead task is detached, with no
// link left to its freed parent, and never enters the pool's free list.
static Task gameRecord;
TEST_F(TaskTest, GameRecordUnderADeadTaskIsDetachedNotFreed) {
  gameRecord = {0, nullptr, &NullTask, U, D, 0, 0, 0, 0, 'g', 0, nullptr};
  Task* parent = Make('P');
  parent->child = &gameRecord;
  KillTask(parent);
  SweepTask();
  EXPECT_NE(0u, IsTaskDead(&gameRecord));
  EXPECT_TRUE(gameRecord.next == &NullTask && gameRecord.child == &NullTask);
  EXPECT_EQ(TASK_POOL_SIZE, FreeCount());
}

// Run forms log as their callbacks do, so a walk with them must log the same.
static int runCalls;
static void V(Task* t) { updates += '+', U(t); }
static void URun(Task* const* tasks, int count) {
  ++runCalls;
  for (int i = 0; i < count; ++i) U(tasks[i]);
}
static void DRun(Task* const* tasks, int count) {
  for (int i = 0; i < count; ++i) D(tasks[i]);
}

// What a walk must visit: the tree as its links say, whatever the last sweep saw.
static void Expected(Task* t, std::string* pre, std::string* post, int* tasks) {
  for (; t != nullptr && t != &NullTask; t = t->next) {
    ++*tasks;
    if (t->update == V) *pre += '+';
    *pre += static_cast<char>(t->count);
    Expected(t->child, pre, post, tasks);
    *post += static_cast<char>(t->count);
  }
}

// Random trees, swept into the walks' list and then changed by hand (tasks
// relinked, moved under others, killed, made in front), walked with and without
// run forms.
TEST_F(TaskTest, WalksFollowTheLinksWhateverTheSweepsListSays) {
  uint32_t seed = 7;
  auto random = [&seed](int n) { return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % n; };
  runCalls = 0;
  for (int round = 0; round < 300; ++round) {
    InitTask();
    SetTaskRunProc(U, round % 2 ? URun : nullptr);
    SetTaskRunProc(D, round % 4 == 1 ? DRun : nullptr);
    const int n = 1 + random(20);
    std::vector<Task*> made;
    for (int i = 0; i < n; ++i) made.push_back(Make(static_cast<char>('a' + i), random(5) ? U : V));
    // The model: which tasks live, and who heads whom, kept apart from the links.
    std::string alive, dead;
    std::map<char, char> parentOf;
    for (int i = 0; i < n; ++i) alive += static_cast<char>('a' + i);
    if (random(2)) KillTask(made[random(n)]);
    const auto sweep = [&] {
      std::string kept;
      for (char id : alive) {
        bool gone = false;
        for (char at = id;; at = parentOf[at]) {
          gone |= dead.find(at) != std::string::npos;
          if (parentOf.count(at) == 0) break;
        }
        if (!gone) kept += id;
      }
      alive = kept, dead.clear();
      SweepTask();
    };
    for (Task* t : made) {
      if (IsTaskDead(t)) dead += static_cast<char>(t->count);
    }
    sweep();
    for (int change = random(4); change > 0; --change) {
      Task* a = made[random(n)];
      Task* b = made[random(n)];
      if (a == b || IsTaskDead(a) || IsTaskDead(b)) continue;
      // Both in the top-level chain (no loops made), a with no children yet.
      Task** link = &TaskPool.root;
      bool aTop = false;
      for (Task* t = TaskPool.root; t != &NullTask; t = t->next) aTop |= t == a;
      while (*link != &NullTask && *link != b) link = &(*link)->next;
      if (*link != b || !aTop || a->child != &NullTask) continue;
      *link = b->next;  // b out of the chain...
      if (random(2)) {
        b->next = a->next, a->next = b;  // ...after a
      } else {
        b->next = &NullTask, a->child = b;  // ...under a
        parentOf[static_cast<char>(b->count)] = static_cast<char>(a->count);
      }
    }
    if (random(2)) KillTask(Make('N')), alive += 'N', dead += 'N';
    Task* killed = made[random(n)];  // perhaps a freed record, or 'N' in one
    if (random(2) && killed->count != 'N' && alive.find(static_cast<char>(killed->count)) != std::string::npos) {
      KillTask(killed), dead += static_cast<char>(killed->count);
    }
    if (random(2)) {
      sweep();
      for (Task* t = TaskPool.root; t != &NullTask; t = t->next) ASSERT_EQ(0u, IsTaskDead(t));
    }
    std::string pre, post;
    int tasks = 0, top = 0;
    for (Task* t = TaskPool.root; t != &NullTask; t = t->next) ++top;
    Expected(TaskPool.root, &pre, &post, &tasks);
    updates.clear(), draws.clear();
    EXPECT_EQ(top, UpdateTask());
    EXPECT_EQ(tasks, DrawTask());
    EXPECT_EQ(pre, updates) << "round " << round;
    EXPECT_EQ(post, draws) << "round " << round;
    updates.clear();
    EXPECT_EQ(tasks, UpdateTaskPostOrder());
    std::string postNoMarks = updates;
    postNoMarks.erase(std::remove(postNoMarks.begin(), postNoMarks.end(), '+'), postNoMarks.end());
    EXPECT_EQ(post, postNoMarks) << "round " << round;
    // Whatever the links say, no living task was lost and no freed one is walked.
    std::string walked = draws;
    std::sort(walked.begin(), walked.end()), std::sort(alive.begin(), alive.end());
    EXPECT_EQ(alive, walked) << "round " << round;
  }
  EXPECT_GT(runCalls, 100);
  SetTaskRunProc(U, nullptr);
  SetTaskRunProc(D, nullptr);
}

// A swarm is handed over 256 at a time; a task with no callback after one with a
// run form is not handed to it.
static std::vector<int> runLengths;
static void LengthRun(Task* const* tasks, int count) {
  runLengths.push_back(count);
  for (int i = 0; i < count; ++i) U(tasks[i]);
}
TEST_F(TaskTest, RunFormsTakeStretchesOfAtMost256) {
  SetTaskRunProc(U, LengthRun);
  for (int i = 0; i < 300; ++i) Make('s');
  SweepTask();
  runLengths.clear();
  EXPECT_EQ(300, UpdateTask());
  EXPECT_EQ((std::vector<int>{256, 44}), runLengths);
  EXPECT_EQ(std::string(300, 's'), updates);

  InitTask(), updates.clear(), runLengths.clear();
  Make('n', nullptr);
  Make('x');  // chain x n
  SweepTask();
  EXPECT_EQ(2, UpdateTask());
  EXPECT_EQ("x", updates);
  EXPECT_EQ(std::vector<int>{1}, runLengths);
  SetTaskRunProc(U, nullptr);
}

template <int N>
static void Numbered(Task*) {}
TEST_F(TaskTest, RunFormsTakeSixteenCallbacksAndGoWhenCleared) {
  const TaskProc procs[] = {Numbered<0>,  Numbered<1>,  Numbered<2>,  Numbered<3>,  Numbered<4>,
                            Numbered<5>,  Numbered<6>,  Numbered<7>,  Numbered<8>,  Numbered<9>,
                            Numbered<10>, Numbered<11>, Numbered<12>, Numbered<13>, Numbered<14>,
                            Numbered<15>, Numbered<16>};
  EXPECT_EQ(-1, SetTaskRunProc(nullptr, URun));
  for (int i = 0; i < TASK_RUN_PROCS; ++i) EXPECT_EQ(0, SetTaskRunProc(procs[i], URun));
  EXPECT_EQ(-1, SetTaskRunProc(procs[16], URun));
  EXPECT_EQ(0, SetTaskRunProc(procs[3], DRun));  // replaced in place
  EXPECT_EQ(0, SetTaskRunProc(procs[3], nullptr));
  EXPECT_EQ(0, SetTaskRunProc(procs[16], URun));
  Make('x', procs[16]);
  SweepTask();
  runCalls = 0;
  UpdateTask();
  EXPECT_EQ(1, runCalls);
  for (TaskProc proc : procs) SetTaskRunProc(proc, nullptr);
  UpdateTask();
  EXPECT_EQ(1, runCalls);
}
