# Bash completion for quillmere-batch. It needs bash alone, not the
# bash-completion package.
_quillmere_batch()
{
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    # Bash splits --format=cs into "--format", "=" and "cs": complete the value.
    if [[ $cur == = ]]; then
        cur=""
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi

    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            title | item | equipment | skill | character | npc | invent | check)
                command=${COMP_WORDS[i]}
                break
                ;;
        esac
    done

    local values=""
    case $prev in
        -n | --count | --seed | --starts-with | --ends-with | --contains | --min-length | \
            --max-length | --match) return ;;
        --format) values="text csv json markdown foundry" ;;
        --nationality) values="english greek japanese gaelic demon" ;;
        --gender) values="male female" ;;
        --difficulty) values="easy medium hard" ;;
        --part) values="first surname" ;;
        --data)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -d -- "$cur"))
            return
            ;;
    esac
    if [[ -n $values ]]; then
        COMPREPLY=($(compgen -W "$values" -- "$cur"))
        return
    fi

    # Only the options that belong to the command.
    local options="--help --version"
    case $command in
        "")
            [[ $cur == -* ]] || options="title item equipment skill character npc invent check"
            ;;
        check)
            options+=" --data"
            if [[ $cur != -* ]]; then
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -d -- "$cur"))
                return
            fi
            ;;
        *)
            options+=" --count --seed --show-seed --format --unique --data --starts-with"
            options+=" --ends-with --contains --min-length --max-length --match"
            case $command in
                character) options+=" --nationality --gender" ;;
                invent) options+=" --nationality --gender --part" ;;
                npc) options+=" --difficulty" ;;
            esac
            ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
} &&
    complete -F _quillmere_batch quillmere-batch
