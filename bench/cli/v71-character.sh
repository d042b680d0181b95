# Sourced by the benchmarks of this folder.
#
# make_v71_character CLI PATH writes one character to PATH: a file of 700
# bytes of file version 71, zero after its signature and version, whose empty
# stat block the load expands, then given the values of a Sorceress at level
# 10 with CLI's `set`.
make_v71_character() {
    local cli=$1 base=$2
    { printf '\125\252\125\252\107\0\0\0'; head -c 692 /dev/zero; } > "$base"
    "$cli" set "$base" class=Sorceress level=10 gold=1234 goldInStash=5678 strength=15 \
        dexterity=20 vitality=10 energy=25 maxHealth=400 health=300 maxMana=600 mana=500 \
        maxStamina=700 stamina=650 skill:0=5 > /dev/null
}
