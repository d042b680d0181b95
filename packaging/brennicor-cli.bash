# bash completion for brennicor-cli: its commands, the fields of "set", the
# options of the command being written, character files, and the folder
# after --game-data. The words come
# from the program itself, so they are always those it takes.
_brennicor_cli()
{
    local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} command="" i
    # A folder of game tables follows --game-data.
    if [[ ${COMP_WORDS[COMP_CWORD - 1]} == --game-data ]]; then
        local IFS=$'\n'
        COMPREPLY=($(compgen -d -S / -- "$cur"))
        compopt -o nospace 2>/dev/null
        return 0
    fi
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == --game-data ]]; then
            ((i++))
        elif [[ ${COMP_WORDS[i]} != -* ]]; then
            command=${COMP_WORDS[i]}
            break
        fi
    done
    COMPREPLY=()

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version --quiet --game-data' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$("$program" --completion-words=commands 2>/dev/null)" -- "$cur"))
        fi
        return
    fi
    if [[ $cur == -* ]]; then
        local options
        options=$("$program" "$command" --help 2>/dev/null | grep -oE -- '--[a-z][a-z-]+' | sort -u)
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    if [[ $command == set && $cur != */* && $cur != *=* ]]; then
        # A field is followed by '=', a skill by its name.
        local field
        for field in $("$program" --completion-words=fields 2>/dev/null); do
            [[ $field == *: ]] || field+="="
            [[ $field == "$cur"* ]] && COMPREPLY+=("$field")
        done
        ((${#COMPREPLY[@]})) && compopt -o nospace 2>/dev/null
    fi
    # Character files and the folders that may hold them.
    local IFS=$'\n'
    COMPREPLY+=($(compgen -f -X '!*.[dD]2[sS]' -- "$cur") $(compgen -d -S / -- "$cur"))
    [[ ${COMPREPLY[*]} == */ ]] && compopt -o nospace 2>/dev/null
    return 0
}
complete -F _brennicor_cli brennicor-cli
