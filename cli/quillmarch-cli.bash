# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for quillmarch-cli

_quillmarch_cli()
{
    local cur prev words cword
    _init_completion || return

    local commands="volumes probe size dispense series copy burn image verify help"
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    local command=${words[1]}
    case $prev in
        --fs)
            COMPREPLY=($(compgen -W "NTFS FAT32 exFAT ext4 UDF ISO9660" -- "$cur"))
            return
            ;;
        --block-size | --free-blocks | --time-limit | --media | --into)
            return
            ;;
        --target | --out-dir)
            _filedir -d
            return
            ;;
        --drive)
            COMPREPLY=($(compgen -W "$(compgen -G '/dev/sr[0-9]*') stdio:" -- "$cur"))
            return
            ;;
        --out)
            _filedir iso
            return
            ;;
        --save)
            _filedir qmp
            return
            ;;
        --from | --required-from | --main-from | --background-from)
            _filedir
            return
            ;;
    esac

    local options
    case $command in
        volumes) options="--json -0 --help" ;;
        probe) options="--json --help" ;;
        size) options="--from --json -0 --help" ;;
        dispense)
            options="--required --main --background --required-from --main-from
                     --background-from --target --fs --block-size --free-blocks
                     --time-limit --save --json -0 --help"
            ;;
        series)
            options="--required --main --background --required-from --main-from
                     --background-from --target --fs --block-size --free-blocks
                     --media --time-limit --out-dir --json --help"
            ;;
        copy | verify) options="--target --into --json --help" ;;
        burn) options="--drive --overwrite --json --help" ;;
        image) options="--out --json --help" ;;
        help)
            ((cword == 2)) && COMPREPLY=($(compgen -W "volumes probe size dispense series copy burn image verify" -- "$cur"))
            return
            ;;
        *) return ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        volumes) ;;
        probe) _filedir -d ;;
        *) _filedir ;;
    esac
} &&
    complete -F _quillmarch_cli quillmarch-cli
