<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
  <context>
    <name>CommandLine</name>
    <message>
      <source>Opens the window that makes numbered folders. Given a folder, or a file:// address as file managers pass it, the window starts with it as the target folder (a file gives the folder that holds it). Qt's own options, such as -platform and -style, are taken as well.</source>
      <translation>連番フォルダを作成するウィンドウを開きます。フォルダ（またはファイルマネージャが渡す file:// のアドレス）を指定すると、それを作成先にして開きます（ファイルを指定すると、そのファイルがあるフォルダ）。-platform や -style など Qt のオプションも使えます。</translation>
    </message>
    <message>
      <source>The folder to make the folders in.</source>
      <translation>フォルダを作成する場所のフォルダ。</translation>
    </message>
    <message>
      <source>[FOLDER]</source>
      <translation>[FOLDER]</translation>
    </message>
    <message>
      <source>only the first folder is used; ignored: %1</source>
      <translation>最初のフォルダだけを使います。無視した引数: %1</translation>
    </message>
    <message>
      <source>not a local folder, so the window opens on the stored target: %1</source>
      <translation>このコンピュータのフォルダではないため、保存されている作成先で開きます: %1</translation>
    </message>
  </context>
</TS>
