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
# action, the FileManager-Actions specification (conditions shared by action and profile).
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


# Dolphin: a service menu for folders, executable as KDE requires; %u is the folder's URL.
path = f'share/kio/servicemenus/{app_id}.desktop'
entry = read(os.path.join(prefix, path))
check_keys(path, 'Desktop Entry', 'kio', entry['Desktop Entry'])
if not os.access(os.path.join(prefix, path), os.X_OK):
    fail(f'{path}: not executable')
if entry['Desktop Entry'].get('Type') != 'Service' or 'inode/directory' not in entry['Desktop Entry'].get('MimeType', '').split(';'):
    fail(f'{path}: not a service menu for folders')
for action in filter(None, entry['Desktop Entry'].get('Actions', '').split(';')):
    group = entry.get('Desktop Action ' + action, {})
    check_keys(path, action, 'kio action', group)
    starts_on(path, group.get('Exec', '').replace('%u', shlex.quote(uri)))

# Nemo: one action for a selected folder (%U, its URI), one for the folder shown (%P, its
# path, in the quotes asked for).
for name, selection, field, value in (('kovaldi-folder', 's', '%U', uri),
                                      ('kovaldi-here', 'none', '%P', folder)):
    path = f'share/nemo/actions/{name}.nemo_action'
    action = read(os.path.join(prefix, path))['Nemo Action']
    check_keys(path, 'Nemo Action', 'nemo', action)
    if action.get('Selection') != selection:
        fail(f'{path}: Selection is not {selection}')
    quote = {'double': '"', 'single': "'"}.get(action.get('Quote'), '')
    starts_on(path, action.get('Exec', '').replace(field, quote + value + quote))

# PCManFM-Qt and Caja: a FileManager-Actions action on a selected folder and on the folder
# shown (TargetLocation); %u is the folder's URI.
path = f'share/file-manager/actions/{app_id}.desktop'
entry = read(os.path.join(prefix, path))
check_keys(path, 'Desktop Entry', 'fma', entry['Desktop Entry'])
if entry['Desktop Entry'].get('Type') != 'Action' or entry['Desktop Entry'].get('TargetLocation') != 'true':
    fail(f'{path}: not an action for the folder shown')
for profile in filter(None, entry['Desktop Entry'].get('Profiles', '').split(';')):
    group = entry.get('X-Action-Profile ' + profile, {})
    check_keys(path, profile, 'fma profile', group)
    starts_on(path, group.get('Exec', '').replace('%u', uri))

shutil.rmtree(work)
sys.exit(status)
