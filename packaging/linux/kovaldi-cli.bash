# bash completion for kovaldi-cli                                  -*- shell-script -*-

_kovaldi_cli()
{
    local cur prev words cword
    _init_completion || return

    # The sub-command's word may follow options; a value option's value is no word.
    local i positional=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --header | --footer | --min | --max | --digits | --step | --subfolder | --subfolders-from | --preset | --from-list | --separator) ((i++)) ;;
            --) positional=1; break ;;
            -*) ;;
            undo)
                COMPREPLY=($(compgen -W '--dry-run --json --quiet --help --help-all
                    --version' -- "$cur"))
                return
                ;;
            presets)
                COMPREPLY=($(compgen -W '--json --help --help-all --version' -- "$cur"))
                return
                ;;
            *) positional=1 ;;
        esac
    done

    case $prev in
        --header | --footer | --min | --max | --digits | --step | --subfolder | --subfolders-from | --separator)
            return
            ;;
        --from-list)
            _filedir
            ;;
        --preset)
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$(kovaldi-cli presets 2>/dev/null)" -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--header --footer --min --max --digits --step --subfolder --subfolders-from
            --from-settings --preset --from-list --number --separator --dry-run --json --quiet --help --help-all --version' -- "$cur"))
        return
    fi

    if ((positional == 0)); then
        COMPREPLY=($(compgen -W 'undo presets' -- "$cur"))
    fi
    _filedir -d
} &&
    complete -F _kovaldi_cli kovaldi-cli

# ex: filetype=sh
