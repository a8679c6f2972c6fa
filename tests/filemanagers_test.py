#!/usr/bin/python3
"""The file managers' context-menu entries as installed: every key is one its format
documents, the command names the installed program, and that command, expanded as the
file manager expands it for a folder, starts the program on exactly that folder.
    filemanagers_test.py <build folder> <start probe> <application id>"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

build, probe, app_id = sys.argv[1:4]
work = tempfile.mkdtemp()
prefix = os.path.join(work, 'prefix')
subprocess.run(['cmake', '--install', build, '--prefix', prefix], check=True,
               stdout=subprocess.DEVNULL)

# The keys each group documents: KIO's service menus (kfileitemactions), Nemo's sample
# action, the FileManager-Actions format's documentation (conditions shared by action and profile).
FMA_CONDITIONS = {'OnlyShowIn', 'NotShowIn', 'TryExec', 'ShowIfRegistered', 'ShowIfTrue',
                  'ShowIfRunning', 'MimeTypes', 'Basenames', 'Matchcase', 'SelectionCount',
                  'Schemes', 'Folders', 'Capabilities'}
KEYS = {
    'kio': {'Type', 'MimeType', 'Actions', 'ServiceTypes', 'X-KDE-ServiceTypes',
            'ExcludeServiceTypes', 'X-KDE-Priority', 'X-KDE-Submenu', 'X-KDE-Protocol',
            'X-KDE-Protocols', 'X-KDE-RequiredNumberOfUrls', 'X-KDE-MinNumberOfUrls',
            'X-KDE-MaxNumberOfUrls', 'X-KDE-AuthorizeAction', 'Icon', 'Name'},
    'kio action': {'Name', 'Icon', 'Exec', 'NoDisplay'},
    'nemo': {'Active', 'Name', 'Comment', 'Exec', 'Icon-Name', 'Stock-Id', 'Selection',
             'Extensions', 'Mimetypes', 'Separator', 'Quote', 'Dependencies', 'Conditions',
             'EscapeSpaces', 'Terminal'},
    'fma': {'Type', 'Name', 'Tooltip', 'Icon', 'Description', 'SuggestedShortcut', 'Enabled',
            'Hidden', 'TargetContext', 'TargetLocation', 'TargetToolbar', 'ToolbarLabel',
            'Profiles'} | FMA_CONDITIONS,
    'fma profile': {'Name', 'Exec', 'Path', 'ExecutionMode', 'StartupNotify', 'StartupWMClass',
                    'ExecuteAs'} | FMA_CONDITIONS,
}
status = 0


def fail(text):
    global status
    print('FAIL    ' + text)
    status = 1


def read(path):
    groups, group = {}, None
    for line in open(path, encoding='utf-8').read().splitlines():
        if line.startswith('['):
            group = groups.setdefault(line.strip('[]'), {})
        elif line and not line.startswith('#'):
            key, value = line.split('=', 1)
            group[key] = value
    return groups


def check_keys(path, group, kind, entries):
    unknown = {key for key in entries if key.split('[')[0] not in KEYS[kind]}
    if unknown:
        fail(f'{path} [{group}]: keys its format does not know: {sorted(unknown)}')


# A folder whose name needs quoting and encoding: a space, Japanese, a byte not UTF-8.
folder = os.path.join(work, os.fsdecode('日本 語'.encode() + b'\xff'))
os.mkdir(folder)
uri = 'file://' + urllib.parse.quote(os.fsencode(folder))


def starts_on(path, command, expected=folder):
    argv = shlex.split(command)
    if argv[0] != 'kovaldi' or not os.access(os.path.join(prefix, 'bin', argv[0]), os.X_OK):
        return fail(f'{path}: the command does not name the installed program: {command}')
    environment = dict(os.environ, QT_QPA_PLATFORM='offscreen', XDG_CONFIG_HOME=work,
                       XDG_RUNTIME_DIR=work)
    shown = subprocess.run([probe] + argv[1:], env=environment, capture_output=True,
                           timeout=60).stdout.split(b'\n')[0]
    if shown != os.fsencode(expected):
        return fail(f'{path}: {command} starts on {shown!r}')
    print(f'ok      {path}: {argv[1:]}')


# Each file: the kind of each group (by the group's name), the values the file manager
# needs to offer it on a folder and on the folder shown, and what it puts for the field
# code: Dolphin's %u the folder's URL, Nemo's %U its URI and %P its path (in the quotes
# asked for), FileManager-Actions' %u its URI.
ENTRIES = (
    (f'share/kio/servicemenus/{app_id}.desktop', {'Desktop Entry': 'kio', 'Desktop Action ': 'kio action'},
     {'Type': 'Service', 'MimeType': 'inode/directory;'}, '%u', shlex.quote(uri)),
    ('share/nemo/actions/kovaldi-folder.nemo_action', {'Nemo Action': 'nemo'},
     {'Selection': 's', 'Extensions': 'dir;'}, '%U', uri),
    ('share/nemo/actions/kovaldi-here.nemo_action', {'Nemo Action': 'nemo'},
     {'Selection': 'none', 'Quote': 'double'}, '%P', f'"{folder}"'),
    (f'share/file-manager/actions/{app_id}.desktop', {'Desktop Entry': 'fma', 'X-Action-Profile ': 'fma profile'},
     {'Type': 'Action', 'TargetContext': 'true', 'TargetLocation': 'true'}, '%u', uri),
)
for path, kinds, needed, field, value in ENTRIES:
    groups = read(os.path.join(prefix, path))
    main = next(iter(groups.values()))
    if any(main.get(key) != wanted for key, wanted in needed.items()):
        fail(f'{path}: not offered on a folder and the folder shown: {main}')
    for group, entries in groups.items():
        kind = next((kind for start, kind in kinds.items() if group.startswith(start)), None)
        if kind is None:
            fail(f'{path}: a group its format does not know: [{group}]')
            continue
        check_keys(path, group, kind, entries)
        if 'Exec' in entries:
            starts_on(path, entries['Exec'].replace(field, value))
# KDE reads a service menu outside its own folders only when it is executable.
if not os.access(os.path.join(prefix, ENTRIES[0][0]), os.X_OK):
    fail(f'{ENTRIES[0][0]}: not executable')

shutil.rmtree(work)
sys.exit(status)
