# bash completion for kovaldi-cli                                  -*- shell-script -*-

_kovaldi_cli()
{
    local cur prev words cword
    _init_completion || return

    if [[ ${words[1]} == undo ]]; then
        COMPREPLY=($(compgen -W '--dry-run --json --quiet --help' -- "$cur"))
        return
    fi

    case $prev in
        --header | --footer | --min | --max | --digits | --step)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--header --footer --min --max --digits --step
            --from-settings --dry-run --json --quiet --help --version' -- "$cur"))
        return
    fi

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W 'undo' -- "$cur"))
    fi
    _filedir -d
} &&
    complete -F _kovaldi_cli kovaldi-cli

# ex: filetype=sh
