<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
  <context>
    <name>CommandTexts</name>
    <message>
      <source>Show this help and end.</source>
      <translation>このヘルプを表示して終了します。</translation>
    </message>
    <message>
      <source>Show this help and end (as --help).</source>
      <translation>このヘルプを表示して終了します（--help と同じ）。</translation>
    </message>
    <message>
      <source>Show the version and end.</source>
      <translation>バージョンを表示して終了します。</translation>
    </message>
    <message>
      <source>Usage: %1</source>
      <translation>使い方: %1</translation>
    </message>
    <message>
      <source>Options:</source>
      <translation>オプション:</translation>
    </message>
    <message>
      <source>Arguments:</source>
      <translation>引数:</translation>
    </message>
    <message>
      <source>[options]</source>
      <translation>[オプション]</translation>
    </message>
  </context>
  <context>
    <name>MakeCommand</name>
    <message>
      <source>%1: "%2" is not a whole number from %3 to %4</source>
      <translation>%1: 「%2」は %3 から %4 までの整数ではありません</translation>
    </message>
    <message>
      <source>Makes the folders header + number + footer in TARGET, for every number from the minimum to the maximum, the number padded with zeros to the digit count.
"%1 undo [--dry-run]" takes back the last run.</source>
      <translation>TARGET の中に、ヘッダ + 番号 + フッタのフォルダを最小値から最大値までの番号ごとに作成します。番号は桁数まで 0 で埋めます。
「%1 undo [--dry-run]」で直前の実行を取り消します。</translation>
    </message>
    <message>
      <source>The text before the number (default: none).</source>
      <translation>番号の前に付ける文字列（既定: なし）。</translation>
    </message>
    <message>
      <source>TEXT</source>
      <translation>文字列</translation>
    </message>
    <message>
      <source>The text after the number (default: none).</source>
      <translation>番号の後に付ける文字列（既定: なし）。</translation>
    </message>
    <message>
      <source>The first number (default: 1).</source>
      <translation>最初の番号（既定: 1）。</translation>
    </message>
    <message>
      <source>N</source>
      <translation>数</translation>
    </message>
    <message>
      <source>The last number, at most (default: 10).</source>
      <translation>最後の番号の上限（既定: 10）。</translation>
    </message>
    <message>
      <source>The digit count that numbers are padded to with zeros, from -9 to 99; 0 or less pads nothing (default: 2).</source>
      <translation>番号を 0 で埋める桁数。-9 から 99 まで。0 以下なら埋めません（既定: 2）。</translation>
    </message>
    <message>
      <source>The distance from one number to the next (default: 1).</source>
      <translation>番号の間隔（既定: 1）。</translation>
    </message>
    <message>
      <source>List every name, marked new or existing, and make nothing.</source>
      <translation>すべての名前を新規か既存かの印を付けて一覧にし、何も作成しません。</translation>
    </message>
    <message>
      <source>The folder to make the folders in.</source>
      <translation>フォルダを作成する場所のフォルダ。</translation>
    </message>
    <message>
      <source>[TARGET]</source>
      <translation>[TARGET]</translation>
    </message>
    <message>
      <source>one target folder only; also given: %1</source>
      <translation>対象フォルダは 1 つだけです。ほかに指定されたもの: %1</translation>
    </message>
    <message>
      <source>the stored settings cannot be read</source>
      <translation>保存された設定を読み込めません</translation>
    </message>
    <message>
      <source>stored %1</source>
      <translation>保存された %1</translation>
    </message>
    <message>
      <source>no target folder given</source>
      <translation>対象フォルダが指定されていません</translation>
    </message>
    <message>
      <source>the maximum (%1) is below the minimum (%2)</source>
      <translation>最大値（%1）が最小値（%2）より小さくなっています</translation>
    </message>
    <message>
      <source>the target is not a folder: %1</source>
      <translation>対象がフォルダではありません: %1</translation>
    </message>
    <message>
      <source>the target folder does not exist: %1</source>
      <translation>指定したパスが見つかりません: %1</translation>
    </message>
    <message>
      <source>Dry run in %1: %2 folders, %3 new, %4 exist as folders, %5 exist as files; nothing made.</source>
      <translation>試行（%1）: フォルダ %2 個、新規 %3 個、既存のフォルダ %4 個、既存のファイル %5 個。何も作成していません。</translation>
    </message>
    <message>
      <source>Made %1 of %2 folders in %3.</source>
      <translation>%3 に %2 個中 %1 個のフォルダを作成しました。</translation>
    </message>
    <message>
      <source>  numbered folders: %1, sub-folders: %2</source>
      <translation>  番号のフォルダ %1 個、サブフォルダ %2 個</translation>
    </message>
    <message>
      <source>Not made: %1</source>
      <translation>作成できなかったフォルダ: %1 個</translation>
    </message>
    <message>
      <source>Stopped by a signal; not tried: %1</source>
      <translation>シグナルで中止しました。未処理: %1 個</translation>
    </message>
    <message>
      <source>A folder to make inside every numbered folder made (with --from-list: inside each line's folder made): a relative path, "/" nesting; its parents are implied. May be given more than once.</source>
      <translation>作成した番号のフォルダ（--from-list では、作成した各行のフォルダ）それぞれの中に作るフォルダ。相対パスで、「/」で階層を表し、親フォルダも作ります。何度でも指定できます。</translation>
    </message>
    <message>
      <source>PATH</source>
      <translation>パス</translation>
    </message>
    <message>
      <source>Make the folders inside FOLDER (folders only, no links; at most 1000, 32 levels deep) inside every numbered folder made (with --from-list: each line's folder).</source>
      <translation>FOLDER の中のフォルダ（フォルダだけ、リンクは除く。1000 個、32 段まで）を、作成した番号のフォルダ（--from-list では各行のフォルダ）それぞれの中に作ります。</translation>
    </message>
    <message>
      <source>FOLDER</source>
      <translation>フォルダ</translation>
    </message>
    <message>
      <source>Start from the six inputs, the step, the sub-folders and the list's numbering the window stored last; the options given override them.</source>
      <translation>ウィンドウが最後に保存した 6 つの入力、増分、サブフォルダ、一覧の番号付けから始めます。指定したオプションがそれより優先されます。</translation>
    </message>
    <message>
      <source>--subfolder and --subfolders-from cannot be given together</source>
      <translation>--subfolder と --subfolders-from は同時に指定できません</translation>
    </message>
    <message>
      <source>--subfolder: "%1" is not a relative path</source>
      <translation>--subfolder: 「%1」は相対パスではありません</translation>
    </message>
    <message>
      <source>a ".." in the header or the footer would make the folders outside the target folder, where undo cannot take them back</source>
      <translation>ヘッダかフッタの「..」により対象フォルダの外にフォルダが作成され、元に戻すことができなくなります</translation>
    </message>
    <message>
      <source>Stopped inside %1: some of its sub-folders were not made.</source>
      <translation>%1 の中で中止しました。一部のサブフォルダは作成していません。</translation>
    </message>
    <message>
      <source>The journal could not be written to the end: "%1" can take this run back only as far as it names it.</source>
      <translation>記録を最後まで書き込めませんでした。「%1」でこの実行を取り消せるのは、記録にある分だけです。</translation>
    </message>
    <message>
      <source>The journal could not be written: "%1" cannot take this run back.</source>
      <translation>記録を書き込めませんでした。「%1」でこの実行を取り消すことはできません。</translation>
    </message>
    <message>
      <source>The journal could not be written: "%1" cannot take this run back, and would take back an earlier run instead.</source>
      <translation>記録を書き込めませんでした。「%1」でこの実行を取り消すことはできず、代わりにそれより前の実行を取り消すことになります。</translation>
    </message>
    <message>
      <source>Start from the saved preset NAME (&quot;%1 presets&quot; lists them); the options given override it, and it overrides --from-settings.</source>
      <translation>保存したプリセット NAME から始めます（「%1 presets」で一覧できます）。指定したオプションがプリセットより、プリセットが --from-settings より優先されます。</translation>
    </message>
    <message>
      <source>NAME</source>
      <translation>NAME</translation>
    </message>
    <message>
      <source>preset &quot;%1&quot; %2</source>
      <translation>プリセット「%1」の %2</translation>
    </message>
    <message>
      <source>Make the folders named in FILE, one a line (&quot;-&quot;: standard input); &quot;/&quot; nests, blank lines are skipped and blanks at a line's ends cut. --header, --footer and --max take no part.</source>
      <translation>FILE に 1 行に 1 つずつ書かれた名前のフォルダを作成します（「-」は標準入力）。「/」で階層を作ります。空の行は飛ばし、行の前後の空白は取り除きます。--header、--footer、--max は使いません。</translation>
    </message>
    <message>
      <source>FILE</source>
      <translation>FILE</translation>
    </message>
    <message>
      <source>With --from-list: put the number of each line before it, from --min, --step apart, padded to --digits, then the separator.</source>
      <translation>--from-list と共に: 各行の前に番号と区切り文字を付けます。番号は --min から --step ずつ増え、--digits の桁数に揃えます。</translation>
    </message>
    <message>
      <source>With --number: the text between the number and the line (default: &quot;_&quot;).</source>
      <translation>--number と共に: 番号と行の間に入れる文字列（既定値: 「_」）。</translation>
    </message>
    <message>
      <source>--number and --separator go with --from-list</source>
      <translation>--number と --separator は --from-list と共に指定してください</translation>
    </message>
    <message>
      <source>standard input</source>
      <translation>標準入力</translation>
    </message>
    <message>
      <source>the list cannot be read: %1 (%2)</source>
      <translation>一覧を読み込めません: %1（%2）</translation>
    </message>
    <message>
      <source>the list is larger than %1 MiB: %2</source>
      <translation>一覧が %1 MiB を超えています: %2</translation>
    </message>
    <message>
      <source>the list is not text (UTF-8): %1</source>
      <translation>一覧がテキスト（UTF-8）ではありません: %1</translation>
    </message>
    <message>
      <source>%1, line %2: %3</source>
      <translation>%1 の %2 行目: %3</translation>
    </message>
    <message>
      <source>Blanks cut from the ends of %1 lines.</source>
      <translation>%1 行の前後の空白を取り除きました。</translation>
    </message>
    <message>
      <source>Dry run in %1: %2 lines, %3 new, %4 exist as folders, %5 exist as files, %6 repeat an earlier line; nothing made.</source>
      <translation>%1 での試行: %2 行、新規 %3、フォルダとして存在 %4、ファイルとして存在 %5、前の行と重複 %6。何も作成していません。</translation>
    </message>
    <message>
      <source>Inside each new line's folder, %1 sub-folders: %2 in all.</source>
      <translation>新規の各行のフォルダの中にサブフォルダ %1 個、合計 %2 個。</translation>
    </message>
  </context>
  <context>
    <name>ProgressTexts</name>
    <message>
      <source>%1 of %2 folders (%3%), %4 a second</source>
      <translation>%2 個中 %1 個（%3%）、毎秒 %4 個</translation>
    </message>
  </context>
  <context>
    <name>Texts</name>
    <message>
      <source>exists already as a folder</source>
      <translation>同名のフォルダが既にあります</translation>
    </message>
    <message>
      <source>a file of that name exists</source>
      <translation>同名のファイルが既にあります</translation>
    </message>
    <message>
      <source>the folder it belongs in is missing</source>
      <translation>親フォルダがありません</translation>
    </message>
    <message>
      <source>access refused</source>
      <translation>アクセスが拒否されました</translation>
    </message>
    <message>
      <source>name too long</source>
      <translation>名前が長すぎます</translation>
    </message>
    <message>
      <source>no space left on the disk</source>
      <translation>ディスクの空き容量が足りません</translation>
    </message>
    <message>
      <source>read-only file system</source>
      <translation>読み取り専用のファイルシステムです</translation>
    </message>
    <message>
      <source>not a valid folder name</source>
      <translation>フォルダ名として使えない名前です</translation>
    </message>
    <message>
      <source>other error</source>
      <translation>その他のエラー</translation>
    </message>
    <message>
      <source>not empty</source>
      <translation>空ではありません</translation>
    </message>
    <message>
      <source>no longer there</source>
      <translation>既にありません</translation>
    </message>
    <message>
      <source>replaced by a file</source>
      <translation>ファイルに置き換えられています</translation>
    </message>
    <message>
      <source>replaced by a link</source>
      <translation>リンクに置き換えられています</translation>
    </message>
    <message>
      <source>outside the target folder</source>
      <translation>対象フォルダの外にあります</translation>
    </message>
    <message>
      <source>Write one JSON document on standard output as the report.</source>
      <translation>結果を 1 つの JSON 文書として標準出力に書きます。</translation>
    </message>
    <message>
      <source>Show nothing but errors on standard error.</source>
      <translation>標準エラーにはエラー以外を表示しません。</translation>
    </message>
    <message>
      <source>cannot write to standard error: %1</source>
      <translation>標準エラーに書き込めません: %1</translation>
    </message>
    <message>
      <source>cannot write to standard output: %1</source>
      <translation>標準出力に書き込めません: %1</translation>
    </message>
  </context>
  <context>
    <name>UndoCommand</name>
    <message>
      <source>Takes back the last run of Kovaldi, from the window or from %1: removes the folders it made, newest first, each only while it is an empty folder inside its target; never anything else, never through a link.</source>
      <translation>Kovaldi の直前の実行（ウィンドウでも %1 でも）を取り消します。作成したフォルダを新しい順に、対象フォルダの中の空のフォルダである場合に限って削除します。それ以外のものは削除せず、リンクをたどることもありません。</translation>
    </message>
    <message>
      <source>List what would be removed and what would be kept, with reasons; remove nothing.</source>
      <translation>削除されるものと残されるものを理由とともに一覧にし、何も削除しません。</translation>
    </message>
    <message>
      <source>undo takes no arguments; given: %1</source>
      <translation>undo に引数は指定できません。指定されたもの: %1</translation>
    </message>
    <message>
      <source>The journal is not valid past its first %1 bytes; what comes before is taken back.</source>
      <translation>記録は最初の %1 バイトより後が正しくありません。それより前の分を取り消します。</translation>
    </message>
    <message>
      <source>the journal cannot be opened as a file: %1</source>
      <translation>記録をファイルとして開けません: %1</translation>
    </message>
    <message>
      <source>not a journal this version can read: %1</source>
      <translation>このバージョンで読める記録ではありません: %1</translation>
    </message>
    <message>
      <source>the journal names no target folder: %1</source>
      <translation>記録に対象フォルダがありません: %1</translation>
    </message>
    <message>
      <source>Nothing to take back in %1.</source>
      <translation>%1 で取り消すものはありません。</translation>
    </message>
    <message>
      <source>Dry run in %1: %2 folders would be removed, %3 kept; nothing removed.</source>
      <translation>試行（%1）: 削除されるフォルダ %2 個、残るフォルダ %3 個。何も削除していません。</translation>
    </message>
    <message>
      <source>Removed %1 of %2 folders in %3.</source>
      <translation>%3 で %2 個中 %1 個のフォルダを削除しました。</translation>
    </message>
    <message>
      <source>Kept: %1</source>
      <translation>残したフォルダ: %1 個</translation>
    </message>
    <message>
      <source>the last run could not write its journal, so it cannot be taken back; the newest journal is an earlier run's and is not taken back either: %1</source>
      <translation>直前の実行は記録を書き込めなかったため取り消せません。最新の記録はそれより前の実行のもので、これも取り消しません: %1</translation>
    </message>
    <message>
      <source>no last run to take back: there is no journal in %1</source>
      <translation>取り消す直前の実行がありません。%1 に記録がありません</translation>
    </message>
    <message>
      <source>the journal cannot be read: access refused: %1</source>
      <translation>記録を読み込めません。アクセスが拒否されました: %1</translation>
    </message>
    <message>
      <source>the journal is not taken back: it is not yours, or others may write it: %1</source>
      <translation>記録を取り消しに使いません。あなたのものでないか、ほかのユーザーが書き込めます: %1</translation>
    </message>
    <message>
      <source>no journal is taken back: their folder is not yours, or others may write it: %1</source>
      <translation>記録を取り消しに使いません。記録のフォルダがあなたのものでないか、ほかのユーザーが書き込めます: %1</translation>
    </message>
    <message>
      <source>a run is still writing the journal (or another undo holds it); try again once it has ended: %1</source>
      <translation>実行中の処理（または別の取り消し）が記録を使っています。終わってからもう一度実行してください: %1</translation>
    </message>
    <message>
      <source>the target folder is gone; nothing removed</source>
      <translation>対象フォルダがありません。何も削除していません</translation>
    </message>
    <message>
      <source>a symbolic link now stands in the target folder's path; nothing removed</source>
      <translation>対象フォルダのパスにシンボリックリンクがあります。何も削除していません</translation>
    </message>
    <message>
      <source>the target folder's path now names another folder; nothing removed</source>
      <translation>対象フォルダのパスが別のフォルダを指しています。何も削除していません</translation>
    </message>
    <message>
      <source>the target folder cannot be reached: access refused; nothing removed</source>
      <translation>対象フォルダに入れません。アクセスが拒否されました。何も削除していません</translation>
    </message>
    <message>
      <source>the target folder cannot be opened: %1; nothing removed</source>
      <translation>対象フォルダを開けません: %1。何も削除していません</translation>
    </message>
    <message>
      <source>Stopped by a signal; not tried: %1. "%2 undo" takes back the rest.</source>
      <translation>シグナルで中止しました。未処理: %1 個。残りは「%2 undo」で取り消せます。</translation>
    </message>
    <message>
      <source>The journal has no end: the run was killed, or its journal could not be written to the end. Folders it made after the last one the journal names may remain.</source>
      <translation>記録に終わりがありません。実行が強制終了されたか、記録を最後まで書き込めませんでした。記録にある最後のフォルダより後に作成されたフォルダが残っている可能性があります。</translation>
    </message>
  </context>
  <context>
    <name>PresetTexts</name>
    <message>
      <source>the presets file is not a file: %1</source>
      <translation>プリセットファイルがファイルではありません: %1</translation>
    </message>
    <message>
      <source>the presets file is too large to be one: %1</source>
      <translation>プリセットファイルが大きすぎます: %1</translation>
    </message>
    <message>
      <source>the presets file cannot be read: %1</source>
      <translation>プリセットファイルを読み込めません: %1</translation>
    </message>
    <message>
      <source>the presets file is damaged (%1) and left as it is: %2</source>
      <translation>プリセットファイルが壊れています（%1）。ファイルはそのままにしました: %2</translation>
    </message>
    <message>
      <source>the presets file was not written by this program and is left as it is: %1</source>
      <translation>プリセットファイルはこのプログラムが書いたものではありません。ファイルはそのままにしました: %1</translation>
    </message>
    <message>
      <source>a preset name cannot be empty or only blanks</source>
      <translation>プリセット名が空か、空白だけです</translation>
    </message>
    <message>
      <source>no preset called &quot;%1&quot;</source>
      <translation>プリセット「%1」はありません</translation>
    </message>
  </context>
  <context>
    <name>PresetsCommand</name>
    <message>
      <source>Lists the names of the saved presets, in their order, one a line; &quot;--preset NAME&quot; makes the folders of one.</source>
      <translation>保存したプリセットの名前を、保存した順に 1 行に 1 つずつ表示します。「--preset NAME」でそのプリセットのフォルダを作成します。</translation>
    </message>
    <message>
      <source>presets takes no arguments</source>
      <translation>presets は引数を取りません</translation>
    </message>
  </context>
</TS>
