# Bash completion for quillmere-batch.
_quillmere_batch()
{
    local cur prev words cword
    _init_completion -s || return

    local commands="title item equipment skill character npc check"
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            title | item | equipment | skill | character | npc | check)
                command=${words[i]}
                break
                ;;
        esac
    done

    case $prev in
        -n | --count | --seed)
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W "text csv json" -- "$cur"))
            return
            ;;
        --nationality)
            COMPREPLY=($(compgen -W "english greek japanese gaelic demon" -- "$cur"))
            return
            ;;
        --gender)
            COMPREPLY=($(compgen -W "male female" -- "$cur"))
            return
            ;;
        --difficulty)
            COMPREPLY=($(compgen -W "easy medium hard" -- "$cur"))
            return
            ;;
        --data)
            _filedir -d
            return
            ;;
    esac

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "--help --version" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options="--count --seed --format --unique --data --help"
    case $command in
        character) options+=" --nationality --gender" ;;
        npc) options+=" --difficulty" ;;
        check)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--help" -- "$cur"))
            else
                _filedir -d
            fi
            return
            ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
} &&
    complete -F _quillmere_batch quillmere-batch
