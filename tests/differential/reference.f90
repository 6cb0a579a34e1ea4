! The other side of the comparison: the same layouts, values and records as the record engine,
! through the GNU Fortran runtime. Build with -fno-sign-zero.
!
! Usage: kolven_fortran JOBS RECORDS RESULTS DATA CONSOLE
!
! JOBS holds one job after another (integers list-directed, texts as hexadecimal digits):
!   kind nc            kind 1: write to DATA, 2: write to CONSOLE, 3: read a record of RECORDS,
!                      4: list-directed line of one text to CONSOLE; nc: cycles of the value list
!   layout             the layout, or for kind 4 the text in hexadecimal
!   nt ni nr  (x nc)   a cycle: nt texts, then ni integers, then nr reals; the value list is the
!                      cycles in order (any order of kinds can be written this way)
!   lengths            the length of every text (written when there is a text at all)
!   texts              kinds 1 and 2: one line of hexadecimal digits per text
!   integers           kinds 1 and 2: one line (when there is an integer)
!   reals              kinds 1 and 2: one line of 64-bit patterns (when there is a real)
! After every write job a separator line goes to the same file. For every read job RESULTS gets
! "OK" and a line of integers, a line of real bit patterns and one hexadecimal line per text, or
! "ERR n" for a failed read; RECORDS has a synchronisation line after each record.
program kolven_fortran
  use, intrinsic :: iso_fortran_env, only: int64, real64
  implicit none

  type :: text_value
    character(len=:), allocatable :: s
  end type

  integer, parameter :: max_values = 4000
  integer, parameter :: max_cycles = 400
  character(len=*), parameter :: separator = '<<KOLVEN-CASE-END>>'
  character(len=*), parameter :: sync = '~~KOLVEN-SYNC~~'

  character(len=4096) :: arg_jobs, arg_records, arg_results, arg_data, arg_console
  character(len=65536) :: line
  character(len=:), allocatable :: fmt
  type(text_value) :: ts(max_values)
  integer :: ks(max_values)
  real(real64) :: rs(max_values)
  integer(int64) :: bits(max_values)
  integer :: lengths(max_values)
  integer :: counts(3 * max_cycles)
  integer :: tb(max_cycles), te(max_cycles), kb(max_cycles), ke(max_cycles)
  integer :: rb(max_cycles), re(max_cycles)
  integer :: kind, nc, nt, ni, nr, c, i, ios, u

  call get_command_argument(1, arg_jobs)
  call get_command_argument(2, arg_records)
  call get_command_argument(3, arg_results)
  call get_command_argument(4, arg_data)
  call get_command_argument(5, arg_console)
  open(10, file=trim(arg_jobs), status='old', action='read')
  open(11, file=trim(arg_records), status='old', action='read')
  open(12, file=trim(arg_results), status='replace', action='write')
  open(13, file=trim(arg_data), status='replace', action='write')
  open(14, file=trim(arg_console), status='replace', action='write')

  do
    read(10, *, iostat=ios) kind, nc
    if (ios /= 0) exit
    read(10, '(A)') line
    if (kind == 4) then
      call from_hex(trim(line), ts(1)%s)
      write(14, *) ts(1)%s
      write(14, '(A)') separator
      cycle
    end if
    fmt = trim(line)
    if (nc > 0) read(10, *) (counts(i), i = 1, 3 * nc)
    nt = 0
    ni = 0
    nr = 0
    do c = 1, nc
      tb(c) = nt + 1
      nt = nt + counts(3 * c - 2)
      te(c) = nt
      kb(c) = ni + 1
      ni = ni + counts(3 * c - 1)
      ke(c) = ni
      rb(c) = nr + 1
      nr = nr + counts(3 * c)
      re(c) = nr
    end do
    if (nt > 0) read(10, *) (lengths(i), i = 1, nt)

    if (kind == 3) then
      do i = 1, nt
        ts(i)%s = repeat('?', lengths(i))
      end do
      ks(1:ni) = -7
      rs(1:nr) = -7.0_real64
      read(11, fmt, iostat=ios) ((ts(i)%s, i = tb(c), te(c)), (ks(i), i = kb(c), ke(c)), &
                                 (rs(i), i = rb(c), re(c)), c = 1, nc)
      if (ios == 0) then
        write(12, '(A)') 'OK'
        write(12, '(*(I0,:,1X))') (ks(i), i = 1, ni)
        write(12, '(*(I0,:,1X))') (transfer(rs(i), 0_int64), i = 1, nr)
        do i = 1, nt
          call write_hex(12, ts(i)%s)
        end do
      else
        write(12, '(A,I0)') 'ERR ', ios
      end if
      ! On to the line after the record, wherever the failed read left the file.
      do
        read(11, '(A)', iostat=ios) line
        if (ios /= 0) exit
        if (trim(line) == sync) exit
      end do
      cycle
    end if

    do i = 1, nt
      read(10, '(A)') line
      call from_hex(line(1:2 * lengths(i)), ts(i)%s)
    end do
    if (ni > 0) read(10, *) (ks(i), i = 1, ni)
    if (nr > 0) read(10, *) (bits(i), i = 1, nr)
    do i = 1, nr
      rs(i) = transfer(bits(i), 0.0_real64)
    end do
    u = 13
    if (kind == 2) u = 14
    write(u, fmt) ((ts(i)%s, i = tb(c), te(c)), (ks(i), i = kb(c), ke(c)), &
                   (rs(i), i = rb(c), re(c)), c = 1, nc)
    write(u, '(A)') separator
  end do

  close(13)
  close(14)
  close(12)

contains

  subroutine from_hex(hex, s)
    character(len=*), intent(in) :: hex
    character(len=:), allocatable, intent(out) :: s
    integer :: k, v
    allocate(character(len=len(hex) / 2) :: s)
    do k = 1, len(hex) / 2
      read(hex(2 * k - 1:2 * k), '(Z2)') v
      s(k:k) = achar(v)
    end do
  end subroutine

  subroutine write_hex(unit, s)
    integer, intent(in) :: unit
    character(len=*), intent(in) :: s
    integer :: k
    write(unit, '(*(Z2.2))') (iand(ichar(s(k:k)), 255), k = 1, len(s))
  end subroutine

end program kolven_fortran
