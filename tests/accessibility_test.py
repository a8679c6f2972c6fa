"""What a screen reader finds in Kovaldi's windows, read over AT-SPI.

Starts the program on a first start of its own, prints the accessible tree of the main
window, checks the role, name and value of every control, changes the inputs through the
screen reader's own calls (text, value, actions) and checks what it hears back, then does
the same for the About window. Run by accessibility_test.sh.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(what, actual, expected):
    if actual == expected:
        print(f"ok      {what}: {actual!r}")
    else:
        print(f"MISMATCH {what}: {actual!r}, expected {expected!r}")
        failures.append(what)


def pump(seconds=0.0):
    """Lets events arrive for a while (or at least once)."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= deadline:
            return
        time.sleep(0.02)


def wait_for(what, find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pump()
        found = find()
        if found:
            return found
        time.sleep(0.1)
    print(f"MISSING {what}")
    failures.append(what)
    finish()


def describe(node):
    """One line: role, name, and what else a screen reader would say of it."""
    parts = [node.getRoleName(), repr(node.name)]
    if node.description:
        parts.append(f"description={node.description!r}")
    interfaces = pyatspi.listInterfaces(node)
    if "Value" in interfaces:
        value = node.queryValue()
        parts.append(f"value={value.currentValue:g} in {value.minimumValue:g}..{value.maximumValue:g}")
    if "EditableText" in interfaces:
        text = node.queryText()
        parts.append(f"text={text.getText(0, text.characterCount)!r}")
    if "Action" in interfaces:
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        parts.append("actions=" + ",".join(names))
    for relation in node.getRelationSet():
        targets = [relation.getTarget(i).name for i in range(relation.getNTargets())]
        parts.append(f"{pyatspi.relationToString(relation.getRelationType())}={targets}")
    states = node.getState()
    for state in (pyatspi.STATE_FOCUSABLE, pyatspi.STATE_SHOWING, pyatspi.STATE_SENSITIVE):
        if not states.contains(state):
            parts.append("not-" + pyatspi.stateToString(state))
    return " ".join(parts)


def dump(node, depth=0):
    print("  " * depth + describe(node))
    for child in node:
        if child is not None:
            dump(child, depth + 1)


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda n: n.getRoleName() == role and (name is None or n.name == name))


def press(node, action_name):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == action_name:
            action.doAction(i)
            return
    failures.append(f"{node.name}: no action {action_name}")


scratch = tempfile.mkdtemp()


def start():
    return subprocess.Popen(
        [sys.argv[1]],
        env=dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=os.path.join(scratch, "config")))


program = start()


def finish():
    program.kill()
    program.wait()
    print(f"{len(failures)} failed: {failures}" if failures else "all passed")
    sys.exit(1 if failures else 0)


desktop = pyatspi.Registry.getDesktop(0)


def application():
    global program
    # A display that went away under a start (another test's server on the same number)
    # ends the program at once: it is started again.
    if program.poll() is not None:
        print(f"the program ended with status {program.returncode}; starting it again")
        program = start()
    return next((a for a in desktop if a is not None and a.get_process_id() == program.pid),
                None)


app = wait_for("the application", application)
check("application name", app.name, "Kovaldi")
window = wait_for("the main window", lambda: find(app, "frame", "Kovaldi - Version 1.0.0"))
print("--- main window")
dump(window)

announced = []  # (source, its name when the event is read)
pyatspi.Registry.registerEventListener(
    lambda event: announced.append((event.source, event.source.name)),
    "object:property-change:accessible-name")

boxes = {name: find(window, "text", name)
         for name in ("該当フォルダ", "ヘッダ", "フッタ", "最小値", "最大値", "桁数")}
check("the six boxes", [n for n, box in boxes.items() if box is None], [])
spinner = find(window, "spin button", "桁数")
check("spinner value and range", (spinner.queryValue().currentValue,
                                  spinner.queryValue().minimumValue,
                                  spinner.queryValue().maximumValue), (2.0, 0.0, 10.0))
check("preview, named by what it shows",
      find(window, "label", "01 ～ 10").description, "＜プレビュー＞ 作成されるフォルダ")
check("progress bar", find(window, "progress bar", "進捗") is not None, True)
check("buttons", sorted(b.name for b in pyatspi.findAllDescendants(
    window, lambda n: n.getRoleName() == "push button")),
    sorted(["参照(B)", "作成(M)", "終了(X)", "詳細設定(O)...", "一覧から作成(L)...",
            "ﾊﾞｰｼﾞｮﾝ情報(V)"]))
for caption in ("該当フォルダ", "ヘッダ", "フッタ", "最小値", "最大値", "桁数",
                "＜プレビュー＞ 作成されるフォルダ"):
    label = find(window, "label", caption)
    targets = [] if label is None else [
        r.getTarget(0).name for r in label.getRelationSet()
        if r.getRelationType() == pyatspi.RELATION_LABEL_FOR]
    check(f"caption {caption} labels its control", len(targets), 1)

# The inputs of a typical run, typed and stepped as a screen reader's user does.
for name, text in (("ヘッダ", "img"), ("フッタ", "_a"), ("最大値", "120")):
    boxes[name].queryEditableText().setTextContents(text)
spinner.queryValue().currentValue = 3
pump(1.0)
check("digit box after the spinner's value", boxes["桁数"].queryText().getText(0, -1), "3")
check("spinner value", spinner.queryValue().currentValue, 3.0)
preview = wait_for("the new preview", lambda: find(window, "label", "img001_a ～ img120_a"))
check("the preview's change announced", preview in [source for source, _ in announced], True)
press(spinner, "Increase")
pump(0.5)
check("spinner increased", boxes["桁数"].queryText().getText(0, -1), "4")

# The About window, opened by the version button's own action.
press(find(window, "push button", "ﾊﾞｰｼﾞｮﾝ情報(V)"), "Press")
about = wait_for("the About window", lambda: find(app, "dialog", "ﾊﾞｰｼﾞｮﾝ情報"))
print("--- About window")
dump(about)
home = find(about, "link")
check("version line", find(about, "label", "Version 1.0.0") is not None, True)
check("home-page link", home.name.startswith("HomePage : "), True)
check("home-page link's tool tip", home.description, "クリックするとホームページを表示します")
check("mail link", [n.name.startswith("Mail : ") for n in pyatspi.findAllDescendants(
    about, lambda n: n.getRoleName() == "link")], [False, True])


def message(text):
    """The message box that shows the text, once it is there."""
    def shown():
        for role in ("alert", "dialog"):
            for box in pyatspi.findAllDescendants(app, lambda n, r=role: n.getRoleName() == r):
                if find(box, "label", text):
                    return box
        return None
    return wait_for(f"the message {text}", shown)


def answer(box, *buttons):
    """Presses the first of the buttons (by name) that the box has."""
    for name in buttons:
        button = find(box, "push button", name)
        if button:
            press(button, "Press")
            return
    failures.append(f"no button {buttons}")


press(home, "Press")
question = message("ホームページを表示しますか？")
print("--- the link's question")
dump(question)
check("a question's role", question.getRoleName(), "dialog")
answer(question, "いいえ(N)", "&No", "No")
pump(0.5)
answer(about, "OK(O)")
wait_for("the About window closed", lambda: find(app, "dialog", "ﾊﾞｰｼﾞｮﾝ情報") is None)

# The list dialog: each line's state reaches the screen reader as the description of the
# list box at the caret's line, and the counts as a label.
press(find(window, "push button", "一覧から作成(L)..."), "Press")
lists = wait_for("the list dialog", lambda: find(app, "dialog", "一覧から作成"))
list_box = pyatspi.findDescendant(
    lists, lambda n: n.getRoleName() == "text" and "EditableText" in pyatspi.listInterfaces(n))
first = "kovaldi-一覧-新規"
list_box.queryEditableText().setTextContents(first + "\na/../b")
wait_for("the lines counted", lambda: pyatspi.findDescendant(
    lists, lambda n: n.getRoleName() == "label" and n.name.startswith("新規 1 個、")))
print("--- list dialog")
dump(lists)
for offset, line in ((0, "1 行目: 新規"), (len(first) + 2, "2 行目: 無効: ")):
    list_box.queryText().setCaretOffset(offset)
    pump(0.3)
    check(f"list line at {offset} described", list_box.description[:len(line)], line)
press(find(lists, "push button", "閉じる"), "Press")
wait_for("the list dialog closed", lambda: find(app, "dialog", "一覧から作成") is None)

# A run: the status line is announced no more often than it is drawn (a frame at most every
# 33 ms), not once for each of its 3,000 folders.
target = tempfile.mkdtemp()
for name, text in (("該当フォルダ", target), ("ヘッダ", "p"), ("フッタ", ""), ("最小値", "1"),
                   ("最大値", "3000")):
    boxes[name].queryEditableText().setTextContents(text)
pump(0.5)
status = next(c for c in window if c.getRoleName() == "label")
bar = find(window, "progress bar", "進捗")
progress = []
pyatspi.Registry.registerEventListener(
    lambda event: progress.append(event.source) if event.source == bar else None,
    "object:property-change:accessible-value")
announced.clear()
press(find(window, "push button", "作成(M)"), "Press")
answer(message("フォルダ作成の一括処理を行います。"), "はい(Y)", "&Yes", "Yes")
started = time.monotonic()
answer(message("完了！"), "OK")
seconds = time.monotonic() - started
pump(1.0)
statuses = [name for source, name in announced if source == status]
print(f"{len(statuses)} announcements of the status line in about {seconds:.1f} s: "
      f"{statuses[:3]} ... {statuses[-3:]}")
check("folders made", len(os.listdir(target)), 3000)
# Progress reaches the screen reader at each tenth, not at every percent.
print(f"{len(progress)} value changes of the progress bar")
check("progress announced by tenths", 1 <= len(progress) <= 12, True)
check("status line announced", bool(statuses), True)
check("no more often than drawn", len(statuses) <= 20 + 2 * seconds * 1000 / 33, True)
check("status line empty after the run", find(window, "label", "") is not None, True)
finish()
