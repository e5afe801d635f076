# Waiting for a condition, shared by the shell tests: the condition is looked at every tenth of a
# second, so the usual case is over at once, while the deadline leaves a slow or busy machine room.

# Runs the command given until it succeeds, for at most DEADLINE seconds; false when it never did.
# The caller says what it waited for: wait_until 20 test -s "$file" || fail "no $file".
wait_until() {
    local end=$((${EPOCHREALTIME//[.,]/} + $1 * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME//[.,]/}" -lt "$end" ] || return 1
        sleep 0.1 # the interval between two looks at the condition
    done
}

# True once the process has ended (it may wait, unreaped, as a zombie).
has_ended() {
    local state
    state=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}
